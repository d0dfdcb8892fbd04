#!/usr/bin/env bash
# wheelpad.exe as an operator meets it, on a Wine desktop with a taskbar:
# the tray icon through its states, the control menu and its dialogs worked
# by real clicks and keys, Exit with a jog held, and a second start. Run by
# ctest (scripts/test.sh sets the display and the Wine template prefix):
#
#   bash tests/desktop/desktop_test.sh BIN_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
source "$here/../../scripts/wine-env.sh"
: "${WHEELPAD_WINE_ROOT:?set by the test script}" "${DISPLAY:?set by the test script}"

run="$WHEELPAD_WINE_ROOT/desktop-test"
rig_prefix="$WHEELPAD_WINE_ROOT/prefix-desktop"
rig_bin=$bin
rig_pictures="$run/pictures"
source "$here/desktop_rig.sh"

receiver='\\.\pipe\wheelpad-desktop-test'
failures=0
check() {
    local description=$1
    shift
    if "$@"; then
        printf 'ok      %s\n' "$description"
    else
        printf 'FAILED  %s\n' "$description"
        failures=$((failures + 1))
    fi
}

stop() {
    exec 3>&- 4>&-
    WINEPREFIX="$rig_prefix" wineserver -k >/dev/null 2>&1
}
trap stop EXIT

rm -rf "$run" && mkdir -p "$run/wheelpad"
cp "$bin/wheelpad.exe" "$bin/ncbridge.dll" "$run/wheelpad/"
rig_make_prefix
mkfifo "$run/ncstudio.in" "$run/pendant.in"

# NcStudio first: the desktop comes with it, and its taskbar is looked at
# before wheelpad adds its icon.
rig_wine "$bin/ncstudio-v8/ncstudio.exe" --inactive --stdin --log "$(rig_windows_path "$run/ncstudio.log")" \
    <"$run/ncstudio.in" >/dev/null 2>&1 &
exec 3>"$run/ncstudio.in"
logged() { grep -qF -- "$2" "$run/$1.log" 2>/dev/null; }
check "NcStudio is up" rig_wait 20 logged ncstudio started
rig_wait 10 rig_window_shown "NcStudio V8 - demo.nc"
check "the notification area is empty before wheelpad starts" rig_tray_is none

wheelpad_start() {
    WHEELPAD_RECEIVER=$receiver rig_wine "$run/wheelpad/wheelpad.exe" >/dev/null 2>&1 &
    wheelpad=$!
}
wheelpad_start
check "no receiver: its icon appears, red" rig_wait 10 rig_tray_is red
rig_find_icon || { echo "Desktop: no tray icon, so nothing else can be tried."; exit 1; }
rig_picture tray-no-receiver "$rig_tray_area"

rig_wine "$bin/pendant.exe" --pipe "$receiver" --channels 3 5 --ids 0x1234 0x5678 <"$run/pendant.in" >"$run/pendant.log" 2>&1 &
exec 4>"$run/pendant.in"
pendant() { printf '%s\n' "$@" >&4; }
check "a receiver, no NcStudio in front: amber" rig_wait 10 rig_tray_is amber
rig_picture tray-idle "$rig_tray_area"

printf 'front\n' >&3
check "NcStudio in front: bound, green" rig_wait 10 rig_tray_is green
rig_picture tray-bound "$rig_tray_area"
pendant "axis X"

rig_keys ctrl+F11
check "Ctrl+F11 with NcStudio in front: locked, blue" rig_wait 5 rig_tray_is blue
rig_picture tray-locked "$rig_tray_area"
check "the menu shows Lock checked while locked" rig_open_menu
check "  its check mark" rig_lock_checked
rig_menu_picture menu-locked
rig_keys Escape
rig_wait 5 rig_menu_closed
# The menu took the foreground; the operator clicks NcStudio again.
printf 'front\n' >&3
rig_keys ctrl+F11
check "Ctrl+F11 again: unlocked, green" rig_wait 5 rig_tray_is green

check "a right click opens the control menu" rig_open_menu
check "  Lock is not checked" eval '! rig_lock_checked'
rig_menu_picture menu
rig_keys Escape
rig_wait 5 rig_menu_closed

# ProbeSet: Cancel writes nothing, OK writes the profile.
probe_set="QVT 无线对刀器设置"
profile="$run/wheelpad/wheelpad.INI"
rm -f "$profile"
rig_open_menu && rig_choose_menu_item 1
check "ProbeSet opens its dialog" rig_wait 5 rig_window_shown "$probe_set"
rig_window_picture probe-set "$probe_set"
rig_click_control "$probe_set" 2
check "  Cancel closes it" rig_wait 5 rig_window_gone "$probe_set"
check "  and writes nothing" test ! -e "$profile"
rig_open_menu && rig_choose_menu_item 1
rig_wait 5 rig_window_shown "$probe_set"
rig_click_control "$probe_set" 1
check "  OK closes it" rig_wait 5 rig_window_gone "$probe_set"
check "  and writes the height" grep -q 'Knifdb=34.400000' "$profile"

# Mate: the pendant's status, and the two re-pair commands.
mate="设备状态"
rig_open_menu && rig_choose_menu_item 2
check "Mate opens the device status dialog" rig_wait 5 rig_window_shown "$mate"
check "  the pendant's status shows within 4 s" rig_wait 4 rig_text_holds "$mate" 1009 "ID:1234"
rig_window_picture mate "$mate"
rig_click_control "$mate" 1000
check "  re-pair the tool setter: A9 A9 16 reaches the pendant" rig_wait 5 logged pendant "tool setter (06 A9 A9 16"
rig_click_control "$mate" 1001
check "  re-pair the handwheel: A9 A9 26 reaches the pendant" rig_wait 5 logged pendant "handwheel (06 A9 A9 26"
rig_keys Escape
check "  Esc closes it" rig_wait 5 rig_window_gone "$mate"

about="MP40R Driver-V3.90 For WeihongCNC"
rig_open_menu && rig_choose_menu_item 4
check "About opens the about box" rig_wait 5 rig_window_shown "$about"
check "  with the NcStudio version found" rig_text_holds "$about" 1005 "Ncstudio V8"
rig_window_picture about "$about"
rig_click_control "$about" 1
check "  OK closes it" rig_wait 5 rig_window_gone "$about"

first=$wheelpad
wheelpad_start
wheelpad_ended() { ! kill -0 "$wheelpad" 2>/dev/null; }
check "a second start ends at once" rig_wait 10 wheelpad_ended
one_icon() { [ "$(rig_tray_colour)" = green ] && [ "$(rig_icon_box green | cut -dx -f1)" -le "$rig_icon_width" ]; }
check "  and adds no second icon" one_icon
wheelpad=$first

# Exit while key 12 holds a continuous jog on X.
jogs() { grep -c "$1" "$run/ncstudio.log"; }
held=$(jogs "jogging X+")
ended=$(jogs "jog ended: X")
pendant "key 12"
more() { [ "$(jogs "$1")" -gt "$2" ]; }
check "key 12 holds X+" rig_wait 5 more "jogging X+" "$held"
rig_open_menu
started=$(date +%s%N)
rig_choose_menu_item 3
check "Exit ends wheelpad within 3 s" rig_wait 3 wheelpad_ended
printf '        (it ended %d ms after the click)\n' $((($(date +%s%N) - started) / 1000000))
check "  the jog held then is let go" rig_wait 2 more "jog ended: X" "$ended"
check "  its icon is gone" rig_wait 5 rig_tray_is none
pendant "release"

printf '\nPictures in %s\n' "$rig_pictures"
printf 'Right clicks that opened no menu (made again): %d\n' "$rig_menu_misses"
[ "$failures" -eq 0 ] && echo "Desktop: all checks passed." && exit 0
echo "Desktop: $failures checks failed."
exit 1
