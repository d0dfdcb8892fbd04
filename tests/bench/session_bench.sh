#!/usr/bin/env bash
# The deployed system's own figures, run by hand after scripts/test.sh has
# built everything (or on the programs in the folder given as argument):
# wheelpad.exe, the stand-in pendant (pendant.exe, serving
# the virtual receiver's pipe) and the stand-in NcStudio of generation 2
# (ncstudio-v8/ncstudio.exe) as three processes in one Wine prefix.
#   - CPU time of wheelpad.exe (and of the Wine server and NcStudio beside it)
#     over 10 s while nothing happens;
#   - from a wheel report the pendant writes into the virtual receiver to the
#     click arriving at NcStudio (NcStudio's log);
#   - from NcStudio showing the new X coordinate to the pendant's display
#     showing it.
# Times are local times of day to the millisecond: the pendant's output and
# the commands written to it are stamped here, NcStudio stamps its own log.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source scripts/wine-env.sh
build=${WHEELPAD_BUILD_DIR:-$root/build}/$WHEELPAD_TEST_ARCH
# The programs: the build's, or another folder laid out like its bin.
bin=${1:-$build/bin}
start_virtual_display
prepare_wine_template "$build/wine"
export WINEPREFIX="$build/wine/prefix-session-bench" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
rm -rf "$WINEPREFIX"
cp -al "$build/wine/template" "$WINEPREFIX"
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT

stamp() {
    perl -MTime::HiRes=time -ne 'BEGIN { $| = 1 } my $t = time; my @l = localtime($t);
        printf "%02d:%02d:%06.3f %s", $l[2], $l[1], $l[0] + $t - int($t), $_'
}
# Seconds of the day of a "HH:MM:SS.mmm" time.
seconds() { awk -F: '{ printf "%.3f\n", $1 * 3600 + $2 * 60 + $3 }'; }
# CPU seconds (user and system) of the processes of this prefix named $1.
cpu_of() {
    local ticks=0 pid
    for pid in $(pgrep -f "$1" || true); do
        { tr '\0' '\n' < "/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX"; } 2>/dev/null || continue
        ticks=$((ticks + $(awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0)))
    done
    echo "$ticks $(getconf CLK_TCK)" | awk '{ printf "%.2f\n", $1 / $2 }'
}

pipe='\\.\pipe\wheelpad-bench'
mkfifo "$work/pendant.in"
exec 3<>"$work/pendant.in"
"$WHEELPAD_WINE" "$bin/pendant.exe" --pipe "$pipe" <&3 2>&1 | stamp > "$work/pendant.out" &
"$WHEELPAD_WINE" "$bin/ncstudio-v8/ncstudio.exe" --log "Z:${work//\//\\}\\ncstudio.log" >/dev/null 2>&1 &
sleep 3
WHEELPAD_RECEIVER="$pipe" "$WHEELPAD_WINE" "$bin/wheelpad.exe" >/dev/null 2>&1 &
# The first display frame: wheelpad found NcStudio and polls it.
for _ in $(seq 100); do grep -q "display" "$work/pendant.out" 2>/dev/null && break; sleep 0.2; done
echo "axis X" >&3
echo "rate 16" >&3
for _ in $(seq 50); do grep -q "X:" "$work/pendant.out" && break; sleep 0.2; done
grep -q "X:" "$work/pendant.out" || { echo "wheelpad did not come up"; cat "$work/pendant.out"; exit 1; }
sleep 3

echo "-- 10 s with nothing happening: CPU seconds"
before=("$(cpu_of wheelpad.exe)" "$(cpu_of wineserver)" "$(cpu_of ncstudio.exe)")
sleep 10
after=("$(cpu_of wheelpad.exe)" "$(cpu_of wineserver)" "$(cpu_of ncstudio.exe)")
names=(wheelpad.exe wineserver ncstudio.exe)
for i in 0 1 2; do
    echo "${names[$i]} ${before[$i]} ${after[$i]}" | awk '{ printf "%-14s %.2f s (%.1f %% of one core)\n", $1, $3 - $2, ($3 - $2) * 10 }'
done

echo "-- 10 wheel reports (+1 on X, step 0.5 mm), 1 s apart"
: > "$work/sent"
for _ in $(seq 10); do
    echo | stamp | cut -c1-12 >> "$work/sent"
    echo "wheel 1" >&3
    sleep 1
done
sleep 1
grep 'received: click on "X+"' "$work/ncstudio.log" | cut -c1-12 | tail -10 > "$work/clicked"
grep -E '^[0-9:.]+ X: ' "$work/ncstudio.log" | tail -10 > "$work/moved"
echo "report written to click at NcStudio (ms):"
paste <(seconds < "$work/sent") <(seconds < "$work/clicked") | awk '{ printf " %.0f", ($2 - $1) * 1000 } END { print "" }'
echo "NcStudio showing X to the pendant's display showing it (ms):"
while read -r line; do
    shown_at=$(echo "$line" | cut -c1-12 | seconds)
    value=$(echo "$line" | sed -E 's/^[0-9:.]+ X: ([-0-9.]+).*/\1/')
    displayed=$(grep -F "|X:$value " "$work/pendant.out" | head -1 | cut -c1-12 | seconds)
    awk -v a="$shown_at" -v b="$displayed" 'BEGIN { printf " %.0f", (b - a) * 1000 }'
done < "$work/moved"
echo
