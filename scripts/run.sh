#!/usr/bin/env bash
# The main job: the whole system under Wine as a user has it, in three
# processes on one desktop — the stand-in NcStudio (ncstudio.exe), wheelpad.exe
# with ncbridge.dll beside it, and the stand-in pendant (pendant.exe) on the
# virtual receiver device in Wine's HID stack (where this machine cannot load
# its drivers: on the virtual receiver's pipe) — while a built-in script works the pendant and the
# keyboard. It prints the pendant's display and NcStudio's coordinates and run
# state as they change, checks that each step has the effect a user expects,
# saves screenshots, and exits 0 only when every step went as expected.
#
#   bash scripts/run.sh [--screenshots DIR]
#
# NcStudio is the stand-in of version 8 (generation 2). The screenshots go to
# DIR (default: the build's main-job folder, where the logs of the three
# programs are kept).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

screenshots=
while [ $# -gt 0 ]; do
    case "$1" in
        --screenshots) screenshots=$(mkdir -p "$2" && cd "$2" && pwd); shift 2 ;;
        *) echo "usage: bash scripts/run.sh [--screenshots DIR]" >&2; exit 2 ;;
    esac
done

bash scripts/setup.sh
source scripts/wine-env.sh
build=${WHEELPAD_BUILD_DIR:-$root/build}/$WHEELPAD_TEST_ARCH
echo "Building wheelpad.exe, ncbridge.dll and the stand-ins ($WHEELPAD_TEST_ARCH)..."
mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$WHEELPAD_TEST_ARCH.cmake" \
          -DCMAKE_BUILD_TYPE=Release >"$build/main-job-build.log" 2>&1 || { cat "$build/main-job-build.log"; exit 1; }
fi
cmake --build "$build" --target wheelpad ncbridge pendant keyboard ncstudio8 virtual_pendant window_probe \
      >"$build/main-job-build.log" 2>&1 || { cat "$build/main-job-build.log"; exit 1; }

jobdir="$build/main-job"
screenshots=${screenshots:-$jobdir}
rm -rf "$jobdir" && mkdir -p "$jobdir" "$screenshots"
# wheelpad.exe finds ncbridge.dll beside itself, as it is installed.
install="$jobdir/wheelpad"
mkdir -p "$install"
cp "$build/bin/wheelpad.exe" "$build/bin/ncbridge.dll" "$install/"

start_virtual_display
prepare_wine_template "$build/wine"
source scripts/receiver-device.sh
install_receiver_device "$build/receiver-device"
source scripts/main-job.sh

main_job_start
main_job_script
main_job_repeating_receiver
main_job_replug
main_job_menu
main_job_end
main_job_virtual_pendant
main_job_summary
