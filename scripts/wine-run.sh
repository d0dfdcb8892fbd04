#!/usr/bin/env bash
# Runs one Windows program of the build under Wine: the test runner's emulator.
# Each program gets a Wine prefix of its own (named objects such as "mdllhook"
# are shared by everything in one prefix), copied from the build's template
# prefix, with code page 936 as the ANSI code page.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exe=$1; shift
: "${WHEELPAD_WINE_ROOT:?set by the test script}"
name=$(basename "$exe" .exe)
prefix="$WHEELPAD_WINE_ROOT/prefix-$name"
if [ ! -d "$prefix" ]; then
    copy_wine_template "$prefix.tmp"
    mv "$prefix.tmp" "$prefix"
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
status=0
"$WHEELPAD_WINE" "$exe" "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status
