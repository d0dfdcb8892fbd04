# Sourced by the scripts that run the Windows programs under Wine.

# 32-bit code runs only where the kernel executes i386 programs.
if /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
    WHEELPAD_TEST_ARCH=${WHEELPAD_TEST_ARCH:-i686}
    WHEELPAD_WINE=/usr/lib/wine/wine
else
    WHEELPAD_TEST_ARCH=${WHEELPAD_TEST_ARCH:-x86_64}
    WHEELPAD_WINE=/usr/lib/wine/wine64
fi
export WHEELPAD_TEST_ARCH WHEELPAD_WINE

# A virtual X display of our own unless one is given; it ends with the script.
start_virtual_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local display=90
    while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    trap "kill $xvfb 2>/dev/null || true" EXIT
    export DISPLAY=":$display"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && return 0; sleep 0.1; done
    echo "Xvfb did not start" >&2
    return 1
}

# One initialised Wine prefix that every program's own prefix is copied from.
prepare_wine_template() {
    export WHEELPAD_WINE_ROOT=$1
    local template="$WHEELPAD_WINE_ROOT/template"
    rm -rf "$WHEELPAD_WINE_ROOT"/prefix-*
    if [ ! -f "$template/system.reg" ]; then
        rm -rf "$template"
        mkdir -p "$WHEELPAD_WINE_ROOT"
        WINEPREFIX="$template" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 "$WHEELPAD_WINE" wineboot -i >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
    fi
}

# A prefix of its own at $1 from the template: its files linked, but for the
# registry files, which are copies: the Wine server rewrites a file that has
# several links in place, which would write the prefix's registry into the
# template and every other prefix.
copy_wine_template() {
    local template="$WHEELPAD_WINE_ROOT/template"
    cp -al "$template" "$1"
    local reg
    for reg in "$template"/*.reg; do cp --remove-destination "$reg" "$1/"; done
}
