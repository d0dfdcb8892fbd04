#!/usr/bin/env bash
# Builds the virtual receiver's two drivers and their installer for a Wine
# prefix's architecture (i686 or x86_64) into OUTDIR, with the INF beside them.
#
#   bash standin/receiver_device/build.sh ARCH OUTDIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
arch=$1 out=$2
cc="$arch-w64-mingw32-gcc"
command -v ccache >/dev/null && cc="ccache $cc"
entry=DriverEntry
[ "$arch" = i686 ] && entry=_DriverEntry@8
mkdir -p "$out"
flags=(-O2 -Wall -Wextra -Werror -fno-stack-protector -I/usr/share/mingw-w64/include/ddk -I"$here")
driver=(-nostdlib -shared -Wl,--subsystem,native -Wl,--entry,"$entry" -lntoskrnl -lhidclass -lhal -lgcc)
$cc "${flags[@]}" -o "$out/wheelpad_receiver_bus.sys" "$here/bus_driver.c" "$here/child_hid.c" "${driver[@]}"
$cc "${flags[@]}" -o "$out/wheelpad_receiver_hid.sys" "$here/hid_passthrough.c" "${driver[@]}"
$cc -O2 -Wall -Wextra -Werror -o "$out/install_receiver_bus.exe" "$here/install_receiver_bus.c" \
    -lsetupapi -lnewdev
cp "$here/receiver_bus.inf" "$out/"
