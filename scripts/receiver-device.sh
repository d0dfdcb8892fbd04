# Sourced by the scripts that prepare the Wine template prefix (after
# wine-env.sh and prepare_wine_template).
#
# install_receiver_device DIR: builds the virtual receiver's drivers for the
# template prefix's architecture into DIR and installs them into the template,
# so that every prefix copied from it has the virtual receiver bus. Exports
# WHEELPAD_RECEIVER_DEVICE=1 when the bus answers, or 0 after saying why not.
install_receiver_device() {
    local out=$1 template="$WHEELPAD_WINE_ROOT/template" arch=i686
    local sources
    sources=$(cd "$(dirname "${BASH_SOURCE[0]}")/../standin/receiver_device" && pwd)
    local drivers="$template/drive_c/windows/system32/drivers" log="$1/install.log" name
    grep -q '^#arch=win64' "$template/system.reg" && arch=x86_64
    WHEELPAD_RECEIVER_DEVICE=0
    export WHEELPAD_RECEIVER_DEVICE
    if ! bash "$sources/build.sh" "$arch" "$out" >"$out.build.log" 2>&1; then
        cat "$out.build.log"
        echo "The virtual receiver's drivers do not build here: the receiver is served through the pipe only."
        return 0
    fi
    # A driver once loaded is not replaced by a second install: changed
    # driver files are copied in while no Wine program runs in the template
    # (as a copy: the prefixes link the template's files).
    for name in wheelpad_receiver_bus.sys wheelpad_receiver_hid.sys; do
        if [ -f "$drivers/$name" ] && ! cmp -s "$out/$name" "$drivers/$name"; then
            cp --remove-destination "$out/$name" "$drivers/$name"
        fi
    done
    if WINEPREFIX="$template" WINEDEBUG=-all "$WHEELPAD_WINE" "$out/install_receiver_bus.exe" \
           "$(printf 'Z:%s' "${out//\//\\}")\\receiver_bus.inf" >"$log" 2>&1; then
        WHEELPAD_RECEIVER_DEVICE=1
    else
        cat "$log"
        echo "This machine cannot load the virtual receiver's drivers into Wine: the tests on the" \
             "device are skipped and the main job serves the receiver through the pipe."
    fi
    WINEPREFIX="$template" wineserver -w
}
