// Letting go of a held continuous jog, and stopping a jog that NcStudio keeps
// running after it was let go.
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace bridge {
namespace {

// Set by a release that timed out on the mutex; taken by the next holder.
volatile LONG pendingRelease = 0;

}  // namespace

bool isJogAxis(int axis) { return axis == kAxisX || axis == kAxisY || axis == kAxisZ; }

AxisButtons axisButtons(const HWND (&buttons)[kJogButtonCount], int axis) {
    switch (axis) {
    case kAxisX: return {buttons[kXPlus], buttons[kXMinus]};
    case kAxisY: return {buttons[kYPlus], buttons[kYMinus]};
    default: return {buttons[kZPlus], buttons[kZMinus]};
    }
}

void liftJogButtons(int axis) {
    const AxisButtons buttons = axisButtons(block().jogButtons, axis);
    postTo(buttons.plus, WM_LBUTTONUP, MK_LBUTTON, 0);
    postTo(buttons.minus, WM_LBUTTONUP, MK_LBUTTON, 0);
}

bool releaseJog() {
    SharedBlock& b = block();
    if (b.heldJogAxis == 0) return false;
    if (b.lastJogKey == 8 || b.lastJogKey == 12) {
        b.jogIdlePolls = 0;
        return false;
    }
    if (!isJogAxis(b.heldJogAxis)) return true;
    b.releasedJogAxis = static_cast<BYTE>(b.heldJogAxis);
    platform::logEvent("held jog on %c let go", static_cast<char>('X' + b.heldJogAxis - kAxisX));
    liftJogButtons(b.heldJogAxis);
    b.heldJogAxis = 0;
    b.jogIdlePolls = 0;
    platform::sleepMs(kPostWaitMs);
    return true;
}

void stopRunawayJog() {
    SharedBlock& b = block();
    if (b.releasedJogAxis == 0) return;
    if (b.lastRunState != 1) {
        b.releasedJogAxis = 0;
        return;
    }
    platform::logEvent("NcStudio still RUNNING after its jog was let go: stopped");
    stopMachine();
    if (isJogAxis(b.releasedJogAxis)) {
        liftJogButtons(b.releasedJogAxis);
        platform::sleepMs(kPostWaitMs);
    }
}

void letGoOfHeldJog() {
    block().lastJogKey = 0;
    releaseJog();
}

void requestPendingRelease() { InterlockedExchange(&pendingRelease, 1); }

void honourPendingRelease() {
    if (!InterlockedExchange(&pendingRelease, 0)) return;
    platform::logEvent("a release kept while \"mdllhook\" was busy is honoured");
    letGoOfHeldJog();
}

void clearPendingRelease() { InterlockedExchange(&pendingRelease, 0); }

}  // namespace bridge
