#!/usr/bin/env bash
# Set-up, build and the whole test suite in one go.
#
# The deliverables are always built for 32-bit Windows ("$build/i686"). The tests
# run under Wine on a virtual X display: on the i686 build where this machine
# can execute 32-bit code, otherwise on an x86_64 build of the same sources
# under wine64 (some kernels run 64-bit user code only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
source scripts/wine-env.sh
# WHEELPAD_BUILD_DIR lets several working copies of the tree build side by side.
build=${WHEELPAD_BUILD_DIR:-$root/build}

cmake -S . -B "$build/i686" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DWHEELPAD_TESTS=$([ "$WHEELPAD_TEST_ARCH" = i686 ] && echo ON || echo OFF)
cmake --build "$build/i686"
if [ "$WHEELPAD_TEST_ARCH" != i686 ]; then
    cmake -S . -B "$build/$WHEELPAD_TEST_ARCH" -G Ninja \
          -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$WHEELPAD_TEST_ARCH.cmake" -DCMAKE_BUILD_TYPE=Release -DWHEELPAD_TESTS=ON \
          -DWHEELPAD_DELIVERABLES_DIR="$build/i686/bin"
    cmake --build "$build/$WHEELPAD_TEST_ARCH"
fi

start_virtual_display
prepare_wine_template "$build/$WHEELPAD_TEST_ARCH/wine"
source scripts/receiver-device.sh
install_receiver_device "$build/$WHEELPAD_TEST_ARCH/receiver-device"
# One test program at a time: the link and whole-system tests run in real
# time across processes, and a second Wine program beside them on two cores
# only adds jitter to what they measure.
ctest --test-dir "$build/$WHEELPAD_TEST_ARCH" --output-on-failure "$@"
