#include "pendant/key_dispatch.h"

#include <mutex>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "bridge/release_only_event.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr DWORD kKeyBytes = 0x0000FFFF;
constexpr DWORD kKnobBytes = 0xFFFF0000;
// The axis knob (the key word's top byte) on lead mode: the feed slider
// follows the wheel, and only a release stops it when the reports stop.
constexpr DWORD kLeadModeKnob = 22;

// Serialises the hand-over to KeyBoardProc with the release on link loss, so
// that the remembered event is the one KeyBoardProc last received. Only the
// reader thread and the release thread take it, never the main thread.
std::mutex handOverLock;

bool holdsSomething(int wheelDelta, int keyWord) {
    const DWORD word = static_cast<DWORD>(keyWord);
    return (word & kKeyBytes) != 0 || wheelDelta != 0 || (word >> 24) == kLeadModeKnob;
}

int effectiveKey(int keyWord) {
    const int key1 = keyWord & 0xFF;
    const int key2 = (keyWord >> 8) & 0xFF;
    return key1 != 0 ? key1 : key2;
}

// Calls KeyBoardProc and remembers the event when it was received; the
// caller holds handOverLock.
void handOver(int wheelDelta, int keyWord) {
    int result = 0;
    if (!app::callKeyBoardProc(wheelDelta, keyWord, result)) return;
    app::state().lastWheelDelta = wheelDelta;
    app::state().lastKeyWord = keyWord;
}

}  // namespace

void decodeInputReport(const BYTE report[8], int& wheelDelta, int& keyWord) {
    const DWORD word = static_cast<DWORD>(report[2]) | static_cast<DWORD>(report[3]) << 8 |
                       static_cast<DWORD>(report[4]) << 16 | static_cast<DWORD>(report[5]) << 24;
    keyWord = static_cast<int>(word);
    wheelDelta = report[6];
}

void dispatchKeyEvent(int wheelDelta, int keyWord) {
    app::ProcessState& state = app::state();
    if (!state.linkEnabled || state.hostThreadId == 0) {
        if (holdsSomething(wheelDelta, keyWord))
            platform::logEvent("key event not handed on: %s", state.linkEnabled ? "NcStudio not bound" : "pendant locked");
        return;
    }
    if (static_cast<DWORD>(keyWord) & kKeyBytes) state.keyActivity = 1;
    HWND host = state.hostWindow;
    if (IsIconic(host)) ShowWindow(host, SW_SHOWNOACTIVATE);
    attachToHostInput();
    if (!app::ensureBridgeLoaded()) return;
    if (effectiveKey(keyWord) == kToolSetterKey)
        app::callSetKnifHigh(state.toolSetterHeight, state.toolSetterEnabled);
    std::lock_guard<std::mutex> guard(handOverLock);
    // The lock may have come meanwhile, its release handed over already: an
    // event handed after it would hold a jog that nothing lets go of.
    if (!state.linkEnabled) return;
    handOver(wheelDelta, keyWord);
}

// This thread joins NcStudio's input, not NcStudio this thread's: the two
// share one input state either way, but under Wine the thread that is
// attached gives up its own input, and when that is NcStudio's foreground
// input no window is in front any more until one is activated again.
// Detaching names the pair in the same order.
void attachToHostInput() {
    app::ProcessState& state = app::state();
    const DWORD host = state.hostThreadId;
    if (state.attachedThreadId == host) return;
    const DWORD self = GetCurrentThreadId();
    if (state.attachedThreadId != 0 && AttachThreadInput(self, state.attachedThreadId, FALSE))
        state.attachedThreadId = 0;
    if (host != 0 && AttachThreadInput(self, host, TRUE)) state.attachedThreadId = host;
}

ReleaseOutcome handOverRelease() {
    std::lock_guard<std::mutex> guard(handOverLock);
    const app::ProcessState& state = app::state();
    if (!holdsSomething(state.lastWheelDelta, state.lastKeyWord)) return ReleaseOutcome::NothingHeld;
    if (state.hostThreadId == 0) return ReleaseOutcome::NothingHeld;
    const int knobs = static_cast<int>(static_cast<DWORD>(state.lastKeyWord) & kKnobBytes);
    int result = 0;
    if (!app::callKeyBoardProc(bridge_abi::kReleaseOnlyWheelDelta, knobs, result))
        return ReleaseOutcome::NothingHeld;
    // 1: ncbridge's mutex was busy for its 500 ms (it keeps the release for
    // its next holder, and it is handed over again).
    if (result != 0) return ReleaseOutcome::Retry;
    app::state().lastWheelDelta = 0;
    app::state().lastKeyWord = knobs;
    return ReleaseOutcome::Done;
}

}  // namespace pendant
