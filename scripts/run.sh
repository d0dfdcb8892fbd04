#!/usr/bin/env bash
# The system's main job on its built-in defaults, stand-ins included: a session
# in which a stand-in pendant, through the virtual receiver, drives a stand-in
# NcStudio via wheelpad's pendant link and ncbridge.dll, and the pendant's
# display follows NcStudio. Extra arguments go to the session program
# (for example --script FILE with the stand-in pendant's commands).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine-env.sh
build=${WHEELPAD_BUILD_DIR:-$root/build}

cmake -S . -B "$build/$WHEELPAD_TEST_ARCH" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$WHEELPAD_TEST_ARCH.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/$WHEELPAD_TEST_ARCH" --target session pendant ncbridge

start_virtual_display
prepare_wine_template "$build/$WHEELPAD_TEST_ARCH/wine"
scripts/wine-run.sh "$build/$WHEELPAD_TEST_ARCH/bin/session.exe" "$@"
