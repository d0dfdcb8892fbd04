// Letting go of a held continuous jog, and stopping a jog that NcStudio keeps
// running after it was let go.
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace bridge {
namespace {

bool isJogAxis(int axis) { return axis == kAxisX || axis == kAxisY || axis == kAxisZ; }

// Mouse-button-up to the axis's "+" button, then to its "-" button.
void liftAxisButtons(int axis) {
    const SharedBlock& b = block();
    static const int plus[] = {kXPlus, kYPlus, kZPlus};
    static const int minus[] = {kXMinus, kYMinus, kZMinus};
    int i = axis - kAxisX;
    postTo(b.jogButtons[plus[i]], WM_LBUTTONUP, MK_LBUTTON, 0);
    postTo(b.jogButtons[minus[i]], WM_LBUTTONUP, MK_LBUTTON, 0);
}

}  // namespace

bool releaseJog() {
    SharedBlock& b = block();
    if (b.heldJogAxis == 0) return false;
    if (b.lastJogKey == 8 || b.lastJogKey == 12) {
        b.jogIdlePolls = 0;
        return false;
    }
    if (!isJogAxis(b.heldJogAxis)) return true;
    b.releasedJogAxis = static_cast<BYTE>(b.heldJogAxis);
    liftAxisButtons(b.heldJogAxis);
    b.heldJogAxis = 0;
    b.jogIdlePolls = 0;
    platform::sleepMs(40);
    return true;
}

void stopRunawayJog() {
    SharedBlock& b = block();
    if (b.releasedJogAxis == 0) return;
    if (b.lastRunState != 1) {
        b.releasedJogAxis = 0;
        return;
    }
    stopMachine();
    if (isJogAxis(b.releasedJogAxis)) {
        liftAxisButtons(b.releasedJogAxis);
        platform::sleepMs(40);
    }
}

}  // namespace bridge
