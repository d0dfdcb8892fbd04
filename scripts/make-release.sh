#!/usr/bin/env bash
# Makes the release archive for Windows users: wheelpad.exe and ncbridge.dll
# (32-bit, stripped), the virtual pendant (virtual_pendant.exe, for trying
# wheelpad without the receiver) and the user guide, as build/wheelpad-<version>-win32.zip
# (or under WHEELPAD_BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh
if ! command -v zip >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends zip
fi
source scripts/wine-env.sh
build=${WHEELPAD_BUILD_DIR:-$root/build}

# Configured as the test script configures it, so the two share the build.
cmake -S . -B "$build/i686" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DWHEELPAD_TESTS=$([ "$WHEELPAD_TEST_ARCH" = i686 ] && echo ON || echo OFF) >/dev/null
cmake --build "$build/i686" --target wheelpad ncbridge virtual_pendant

version=$(sed -nE 's/^ *VALUE "ProductVersion", "([^"]+)".*/\1/p' app/resources/wheelpad.rc)
name="wheelpad-$version-win32"
stage="$build/release/$name"
rm -rf "$stage" "$build/$name.zip"
mkdir -p "$stage"
for file in wheelpad.exe ncbridge.dll virtual_pendant.exe; do
    i686-w64-mingw32-strip -o "$stage/$file" "$build/i686/bin/$file"
done
# For Notepad: a byte-order mark and Windows line ends.
{ printf '\xEF\xBB\xBF'; sed 's/$/\r/' scripts/release/user-guide.txt; } > "$stage/user-guide.txt"
(cd "$build/release" && zip -q -r "$build/$name.zip" "$name")
echo "$build/$name.zip"
