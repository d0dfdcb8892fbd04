#!/usr/bin/env python3
"""Draws wheelpad's tray icons and the about box picture.

Run by hand when the images change (python3 make_images.py); the files it
writes beside itself are committed, so the build needs no Python.

Tray icons, 16x16 and 32x32, one colour and one sign each so that the four
states differ at 16x16 also for a colour-blind user:
  tray_active.ico   green disc with a white ring (the handwheel): mapped and active
  tray_idle.ico     amber disc with a white dot: no NcStudio in front ("Idle!")
  tray_no_link.ico  red disc with a white bar: no pendant, or locked
  tray_locked.ico   blue disc with a white padlock: locked while still mapped
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

COLOURS = {
    "active": (40, 160, 60),
    "idle": (230, 160, 20),
    "no_link": (200, 40, 40),
    "locked": (40, 90, 200),
}
WHITE = (255, 255, 255)


def inside_sign(kind, u, v):
    """True where the white sign covers the point (u, v) in [-1, 1]^2."""
    r = math.hypot(u, v)
    if kind == "active":
        return 0.38 <= r <= 0.62
    if kind == "idle":
        return r <= 0.28
    if kind == "no_link":
        return abs(v) <= 0.17 and abs(u) <= 0.6
    # padlock: a body and a shackle above it
    body = -0.45 <= u <= 0.45 and -0.05 <= v <= 0.55
    shackle = v < -0.05 and 0.18 <= math.hypot(u, v + 0.05) <= 0.33
    return body or shackle


def pixel(kind, size, x, y):
    """BGRA of one pixel, sampled 4x4 inside the pixel for smooth edges."""
    acc = [0.0, 0.0, 0.0, 0.0]
    for sy in range(4):
        for sx in range(4):
            u = ((x + (sx + 0.5) / 4) / size) * 2 - 1
            v = ((y + (sy + 0.5) / 4) / size) * 2 - 1
            if math.hypot(u, v) > 0.97:
                continue
            colour = WHITE if inside_sign(kind, u, v) else COLOURS[kind]
            acc[0] += colour[2]
            acc[1] += colour[1]
            acc[2] += colour[0]
            acc[3] += 255
    n = 16.0
    alpha = acc[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    return tuple(int(round(c / (acc[3] / 255))) for c in acc[:3]) + (int(round(alpha)),)


def icon_image(kind, size):
    """One 32-bit DIB of an icon: header, bottom-up BGRA rows, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = b""
        bits = 0
        mask = bytearray(mask_stride)
        for x in range(size):
            b, g, r, a = pixel(kind, size, x, y)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(row)
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def write_icon(kind):
    images = [icon_image(kind, size) for size in (16, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(os.path.join(HERE, "tray_%s.ico" % kind), "wb") as f:
        f.write(out)


def write_picture():
    """about_picture.bmp: the pendant, 48x64, 24-bit: a grey body, a green
    display with text lines, keys, and the black handwheel."""
    w, h = 48, 64
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(h)):
        row = bytearray()
        for x in range(w):
            colour = (240, 240, 240)
            if 4 <= x < 44 and 2 <= y < 62:
                colour = (90, 90, 100)
            if 8 <= x < 40 and 6 <= y < 22:
                colour = (150, 200, 120)
                if y in (9, 13, 17) and 10 <= x < 36:
                    colour = (30, 60, 30)
            if 26 <= y < 34 and (x - 8) % 9 < 6 and 8 <= x < 42:
                colour = (220, 220, 220)
            if math.hypot(x - 24, y - 48) <= 10:
                colour = (30, 30, 30) if math.hypot(x - 24, y - 48) > 3 else (200, 200, 200)
            row += bytes((colour[2], colour[1], colour[0]))
        row += bytes(stride - len(row))
        data += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, "about_picture.bmp"), "wb") as f:
        f.write(header + info + data)


for name in COLOURS:
    write_icon(name)
write_picture()
