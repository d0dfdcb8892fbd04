// KeyBoardProc: carries out one pendant key event against NcStudio, in a fixed
// order of steps, under the bridge mutex.
#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/release_only_event.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "executor/jog_control.h"
#include "executor/key_event.h"
#include "executor/key_table.h"
#include "executor/on_off_toggle.h"
#include "executor/prompt_answers.h"
#include "executor/rate_knob.h"

namespace executor {
namespace {

// The result of an event that ended early or could not get the mutex.
constexpr int kEndedEarly = 1;
// key1 and key2 of the key word.
constexpr DWORD kKeyBytes = 0xFFFF;

int executeEvent(int wheelDelta, int keyWord) {
    bridge::SharedBlock& b = bridge::block();

    // The knobs and the effective key; the wheel count (0 while blocked).
    KeyEvent event = unpackKeyEvent(wheelDelta, keyWord);
    b.axisKnobCode = event.axisKnob;
    // A report without a key is how a held key ends; the key-6 timing is not
    // driven yet.
    if (event.noKeyDown()) b.lastJogKey = 0;

    if (!b.hostWindow || !b.mapEnabled) return 0;

    // A new rate-knob position; it is tried again with every event until it
    // could be applied.
    if (event.rateKnob != b.lastRateKnob && applyRateCode(event.rateKnob)) {
        b.lastRateKnob = event.rateKnob;
        b.lastJogKey = 0;
        bridge::releaseJog();
    }

    if (event.key == kKeyCoordinateDisplay && event.wheel == 0 && hostSettled()) {
        b.lastJogKey = kKeyCoordinateDisplay;
        b.showMachineCoords = b.showMachineCoords ? 0 : 1;
    }

    if (runKeyAction(event)) return kEndedEarly;

    if (event.key == kKeyOnOff && hostSettled()) toggleOnOff();

    // The wheel and keys 8 and 12 on the jog axes; the override sliders
    // (axis knob 20 and 21) are not driven yet.
    if (jogWithWheel(event)) return kEndedEarly;

    if (event.key == kKeyConfirm) confirmHostWindow();
    if (event.key == kKeyCancel) cancelHostWindow();

    // Lead mode (axis knob 22) is not driven yet.
    return 0;
}

}  // namespace
}  // namespace executor

int WINAPI KeyBoardProc(int wheelDelta, int keyWord) {
    const bool releaseOnly = bridge_abi::isReleaseOnly(wheelDelta);
    bridge::MutexHold hold;
    if (hold.timedOut()) {
        // A key let go must not be lost behind a reader waiting on NcStudio.
        if (releaseOnly || (static_cast<DWORD>(keyWord) & executor::kKeyBytes) == 0)
            bridge::requestPendingRelease();
        return executor::kEndedEarly;
    }
    bridge::honourPendingRelease();
    // The link went down: let go of a held jog and do nothing else.
    if (releaseOnly) {
        bridge::letGoOfHeldJog();
        return 0;
    }
    return executor::executeEvent(wheelDelta, keyWord);
}
