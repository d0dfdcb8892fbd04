#include "executor/chords.h"

#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "platform/clock.h"

namespace executor {
namespace {

constexpr DWORD kChordHoldMs = 100;
constexpr LPARAM kAltDown = 0x20000000;

}  // namespace

void postChord(BYTE modifier, BYTE key) { bridge::postModifiedKey(modifier, key, kChordHoldMs); }

void postAltMenu(BYTE letter) {
    HWND host = bridge::block().hostWindow;
    PostMessageA(host, WM_SYSKEYDOWN, 'O', kAltDown);
    platform::sleepMs(kPostWaitMs);
    bridge::postKey(host, letter);
}

}  // namespace executor
