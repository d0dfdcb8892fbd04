#include "executor/chords.h"

#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "platform/clock.h"

namespace executor {
namespace {

constexpr DWORD kChordHoldMs = 100;
constexpr BYTE kKeyDownBit = 0x80;
constexpr LPARAM kAltDown = 0x20000000;

}  // namespace

void postChord(BYTE modifier, BYTE key) {
    bridge::SharedBlock& b = bridge::block();
    if (!GetKeyboardState(b.keyboardState)) return;
    const BYTE savedModifier = b.keyboardState[modifier];
    b.keyboardState[modifier] |= kKeyDownBit;
    SetKeyboardState(b.keyboardState);

    // Repeat count 1, the scan code, and bits 30 and 31 set.
    const LPARAM lParam = static_cast<LPARAM>((MapVirtualKeyA(key, 0) << 16) | 0xC0000001u);
    PostMessageA(b.hostWindow, WM_KEYDOWN, key, lParam);
    platform::sleepMs(kChordHoldMs);
    PostMessageA(b.hostWindow, WM_KEYUP, key, lParam);
    platform::sleepMs(kPostWaitMs);

    b.keyboardState[modifier] = savedModifier;
    SetKeyboardState(b.keyboardState);
}

void postAltMenu(BYTE letter) {
    HWND host = bridge::block().hostWindow;
    PostMessageA(host, WM_SYSKEYDOWN, 'O', kAltDown);
    platform::sleepMs(kPostWaitMs);
    bridge::postKey(host, letter);
}

}  // namespace executor
