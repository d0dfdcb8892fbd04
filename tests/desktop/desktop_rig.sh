# The desktop rig, sourced: Windows programs in one Wine prefix whose programs
# all share one Wine desktop of 1024x600 with a taskbar and its notification
# area, on the X display in DISPLAY. It clicks and types through X (xdotool),
# looks with ImageMagick's import, and asks window_probe.exe where a window
# is or what a control shows.
#
# The sourcing script sets rig_prefix (the prefix to make), rig_bin (the
# folder with window_probe.exe) and rig_pictures (where pictures go), and has
# WHEELPAD_WINE and WHEELPAD_WINE_ROOT (scripts/wine-env.sh) set.

# The notification area: the right end of the taskbar (its last 150 pixels),
# below the two rows that a maximised window's frame covers.
rig_tray_area=150x14+874+584
rig_tray_left=874
rig_tray_top=584

# The tray icon's four images, by their colours.
declare -gA rig_colour_of=([C82828]=red [E6A014]=amber [28A03C]=green [285AC8]=blue)

rig_wine() { WINEPREFIX="$rig_prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 "$WHEELPAD_WINE" "$@"; }

# A fresh prefix whose programs all start into the desktop "shell", the one
# Wine's explorer gives a taskbar by default.
rig_make_prefix() {
    rm -rf "$rig_prefix"
    copy_wine_template "$rig_prefix"
    mkdir -p "$rig_pictures"
    local settings="$rig_prefix/desktop.reg"
    # No window manager runs on the virtual display: Wine manages the windows.
    printf '%s\r\n' 'REGEDIT4' '' '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="shell"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"shell"="1024x600"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' >"$settings"
    rig_wine reg import "$(rig_windows_path "$settings")" >/dev/null 2>&1
}

# The path of a Unix file as the Windows programs see it.
rig_windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# rig_wait SECONDS COMMAND...: polls COMMAND every 0.2 s until it succeeds;
# fails when it has not within SECONDS.
rig_wait() {
    local seconds=$1 tries
    shift
    for ((tries = seconds * 5; tries > 0; tries--)); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# rig_picture NAME [GEOMETRY]: the screen (or a part of it) as NAME.png.
rig_picture() {
    if [ -n "${2:-}" ]; then
        import -window root -crop "$2" +repage "$rig_pictures/$1.png"
    else
        import -window root "$rig_pictures/$1.png"
    fi
}

# The colour of the tray icon now shown: red, amber, green, blue or none.
rig_tray_colour() {
    rig_picture tray-now "$rig_tray_area"
    local count colour best=none most=20
    while read -r count colour; do
        colour=${rig_colour_of[$colour]:-}
        if [ -n "$colour" ] && [ "$count" -gt "$most" ]; then
            best=$colour
            most=$count
        fi
    done < <(convert "$rig_pictures/tray-now.png" -format %c histogram:info:- |
             sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\) .*/\1 \2/p')
    printf '%s\n' "$best"
}

rig_tray_is() { [ "$(rig_tray_colour)" = "$1" ]; }

# Where the notification area shows the icon's colour now: "WxH+X+Y"
# relative to the area, or nothing (the picture is the one rig_tray_colour
# took last).
rig_icon_box() {
    local hex
    for hex in "${!rig_colour_of[@]}"; do
        [ "${rig_colour_of[$hex]}" = "$1" ] || continue
        convert "$rig_pictures/tray-now.png" -fill black +opaque "#$hex" -fill white -opaque "#$hex" \
            -format '%@' info: 2>/dev/null | grep -v '^0x0'
        return
    done
    return 1
}

# Finds the icon by its colour; sets rig_icon_x and rig_icon_y (the screen
# point of its middle) and rig_icon_width.
rig_find_icon() {
    local box
    box=$(rig_icon_box "$(rig_tray_colour)") || return 1
    local size=${box%%+*} offset=${box#*+}
    rig_icon_width=${size%x*}
    local height=${size#*x} x=${offset%+*} y=${offset#*+}
    # Two rows of the icon lie above the area.
    y=$((y - 2))
    height=$((height + 2))
    rig_icon_x=$((rig_tray_left + x + rig_icon_width / 2))
    rig_icon_y=$((rig_tray_top + y + height / 2))
}

rig_probe() { rig_wine "$rig_bin/window_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }

# rig_click X Y [BUTTON]
rig_click() { xdotool mousemove "$1" "$2" click "${3:-1}"; }

# The keyboard goes to the Wine desktop's X window.
rig_keys() {
    local desktop
    desktop=$(xdotool search --onlyvisible --name 'Wine desktop' | tail -n 1)
    xdotool windowfocus --sync "$desktop" 2>/dev/null || true
    xdotool key "$@"
}

rig_menu_open() { rig_probe menu >/dev/null; }
rig_menu_closed() { ! rig_menu_open; }

# Opens the control menu with a right click on the tray icon. A click that
# opened nothing is counted in rig_menu_misses and made once more.
rig_menu_misses=0
rig_open_menu() {
    rig_click "$rig_icon_x" "$rig_icon_y" 3
    rig_wait 3 rig_menu_open && return 0
    rig_menu_misses=$((rig_menu_misses + 1))
    echo "        (a right click opened no menu: clicked again)"
    rig_click "$rig_icon_x" "$rig_icon_y" 3
    rig_wait 3 rig_menu_open
}

# rig_menu_item N: the middle of the control menu's item N (0 the first of
# its five), as "X Y".
rig_menu_item() {
    local x y w h
    read -r x y w h < <(rig_probe menu) || return 1
    # Three pixels of frame above and below the five items of equal height.
    printf '%d %d\n' $((x + w / 2)) $((y + 3 + (2 * $1 + 1) * (h - 6) / 10))
}

rig_choose_menu_item() {
    local point
    point=$(rig_menu_item "$1") || return 1
    rig_click ${point}
    rig_wait 5 rig_menu_closed
}

# Whether the menu's first item (Lock) shows its check mark: dark pixels in
# the space left of its text.
rig_lock_checked() {
    local x y w h dark
    read -r x y w h < <(rig_probe menu) || return 1
    dark=$(import -window root -crop "14x$(((h - 6) / 5))+$((x + 3))+$((y + 3))" +repage png:- |
           convert png:- -colorspace gray -threshold 40% -negate -format '%[fx:round(mean*w*h)]' info:)
    [ "$dark" -gt 4 ]
}

# rig_menu_picture NAME: the open menu down to the tray icon, as NAME.png.
rig_menu_picture() {
    local x y w h
    read -r x y w h < <(rig_probe menu) || return 1
    rig_picture "$1" "$((1034 - x))x$((610 - y))+$((x - 10))+$((y - 10))"
}

rig_window_shown() { rig_probe window "$1" >/dev/null; }
rig_window_gone() { ! rig_window_shown "$1"; }

# rig_click_control TITLE ID: a click on the middle of a control of a window.
rig_click_control() {
    local x y w h
    read -r x y w h < <(rig_probe control "$1" "$2") || return 1
    rig_click $((x + w / 2)) $((y + h / 2))
}

# rig_window_picture NAME TITLE: the window titled TITLE as NAME.png.
rig_window_picture() {
    local x y w h
    read -r x y w h < <(rig_probe window "$2") || return 1
    rig_picture "$1" "${w}x${h}+${x}+${y}"
}

# rig_text_holds TITLE ID TEXT: the control shows TEXT.
rig_text_holds() { rig_probe text "$1" "$2" | grep -qF -- "$3"; }
