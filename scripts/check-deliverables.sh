#!/usr/bin/env bash
# Checks the shipped 32-bit binaries: ncbridge.dll is an i386 DLL that exports
# exactly the twelve functions by undecorated name with ordinals 1 to 12, and
# every binary imports nothing but Windows' own DLLs.
set -euo pipefail
dir=$1
dll="$dir/ncbridge.dll"
objdump=i686-w64-mingw32-objdump
fail() { echo "FAIL: $*"; exit 1; }

$objdump -f "$dll" | grep -q 'file format pei-i386' || fail "ncbridge.dll is not a 32-bit PE"

expected="1 installhook
2 EnableMap
3 EnableEdit
4 KeyBoardProc
5 MouseProc
6 UnHook
7 SetVer
8 GetAxisLocation
9 GetMaState
10 GetMaStep
11 SetPcState
12 SetKnifHigh"
# objdump lists "[index] name" with the index counted from the ordinal base 1.
actual=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
         sed -nE 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\] (.*)$/\1 \2/p' |
         awk '{print $1 + 1, $2}' | sort -n)
[ "$actual" = "$expected" ] || fail "exports differ: $(echo "$actual" | tr '\n' ',')"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|setupapi|hid|version|psapi|msvcrt|ntdll|ole32|oleaut32|comdlg32|ws2_32)\.dll$'
for bin in "$dir"/*.dll "$dir"/*.exe; do
    [ -e "$bin" ] || continue
    for imp in $($objdump -p "$bin" | awk '/DLL Name:/{print tolower($3)}'); do
        echo "$imp" | grep -Eq "$allowed" || fail "$(basename "$bin") imports $imp"
    done
done
echo "deliverables: ncbridge.dll exports the twelve functions; only Windows DLLs are imported"
