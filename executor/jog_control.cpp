#include "executor/jog_control.h"

#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "executor/rate_knob.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace executor {

BYTE lastAxisSeen = 0;

namespace {

using bridge::SharedBlock;

// After a reversal the wheel is ignored this long.
constexpr DWORD kReverseLockMs = 400;

// lastJogDirection after a start: the sign bit of a negative count, or 1.
constexpr int kDirectionNegative = 128;
constexpr int kDirectionPositive = 1;

bool isContinuousJogKey(BYTE key) { return key == kKeyJogNegative || key == kKeyJogPositive; }

using bridge::axisButtons;
using bridge::AxisButtons;
using bridge::isJogAxis;

bool allJogButtonsCached() {
    for (HWND button : bridge::block().jogButtons)
        if (!button) return false;
    return true;
}

// Lets go of the held direction button: mouse-button-up to the held axis's
// "+" button, then to its "-" button.
void liftHeldButton() {
    SharedBlock& b = bridge::block();
    if (!isJogAxis(b.heldJogAxis)) return;
    const AxisButtons buttons = axisButtons(b.jogButtons, b.heldJogAxis);
    if (!buttons.plus || !buttons.minus) return;
    bridge::liftJogButtons(b.heldJogAxis);
    platform::logEvent("continuous jog on %c let go", static_cast<char>('X' + b.heldJogAxis - bridge::kAxisX));
    b.heldJogAxis = 0;
    b.jogIdlePolls = 0;
    platform::sleepMs(kPostWaitMs);
}

// Runs for every event: lets go of a jog when the axis knob moved, caches the
// jog buttons again when needed, enforces the reversal lock-out and takes
// over NcStudio's step mode. Returns true when the event ends here.
bool prepareJog(KeyEvent& event) {
    SharedBlock& b = bridge::block();
    if (event.axisKnob != lastAxisSeen) {
        b.lastJogKey = 0;
        bridge::releaseJog();
        lastAxisSeen = event.axisKnob;
    }

    if (!isJogAxis(event.axisKnob)) {
        if (event.key != kKeyCoordinateDisplay && event.key != kKeyHalve && event.wheel != 0)
            b.jogButtonsReady = 0;
        return false;
    }

    if (b.hostMode < kModeJiggle) {
        if (!allJogButtonsCached()) b.jogButtonsReady = 0;
        if (event.wheel != 0) {
            if (!b.jogButtonsReady) bridge::postCtrlChord('2');
            b.jogButtonsReady = 1;
            b.jogIdlePolls = 0;
        }
        if (b.reverseLock) {
            if (platform::tickCount() - b.reverseTick <= kReverseLockMs) return true;
            b.reverseLock = 0;
            b.lastJogDirection = 0;
        }
        b.activeStepIndex = b.stepIndex;
    }

    if (isContinuousJogKey(event.key)) {
        // A repeated report of the key whose jog is held selects nothing
        // again: a step click and its 40 ms wait on every report would take
        // longer than a repeating receiver's period, and the reports would
        // queue up in front of the one that lets the jog go.
        const bool heldByThisKey = b.lastJogKey == event.key && b.heldJogAxis == event.axisKnob;
        if (!heldByThisKey) {
            applyRate(0);
            restoreFeed();
        }
        event.wheel = event.key == kKeyJogNegative ? -1 : 1;
        if (b.lastJogKey != event.key) {
            b.lastJogKey = 0;
            bridge::releaseJog();
        }
        b.lastJogKey = event.key;
    } else if (b.activeStepIndex == bridge::kStepContinuous) {
        // A turning wheel goes back to the rate knob's step (generation 2);
        // a still one lets go of the held button.
        if (event.wheel != 0) {
            applyRateCode(b.lastRateKnob);
        } else {
            b.lastJogKey = event.key;
            bridge::releaseJog();
        }
    }
    return false;
}

// Holds the direction button down while the wheel turns; lets it go when the
// wheel stops or turns back, and then locks the wheel out for a while.
void continuousJog(const KeyEvent& event) {
    SharedBlock& b = bridge::block();
    if (event.wheel == 0) {
        liftHeldButton();
        return;
    }
    const BYTE countByte = static_cast<BYTE>(event.wheel);
    // A count whose sign differs from the running jog's direction ("none"
    // counts as positive).
    if (b.heldJogAxis != 0 && (countByte ^ b.lastJogDirection) >= 128) {
        platform::logEvent("wheel turned back: the jog is let go and the wheel ignored for %lu ms", kReverseLockMs);
        liftHeldButton();
        b.reverseTick = platform::tickCount();
        b.reverseLock = 1;
        return;
    }
    const AxisButtons buttons = axisButtons(b.jogButtons, event.axisKnob);
    HWND button = event.wheel < 0 ? buttons.minus : buttons.plus;
    b.lastJogDirection = event.wheel < 0 ? kDirectionNegative : kDirectionPositive;
    if (!button || b.heldJogAxis != 0) return;
    b.heldJogAxis = event.axisKnob;
    b.jogIdlePolls = 0;
    platform::logEvent("continuous jog: %c%c held down", static_cast<char>('X' + event.axisKnob - bridge::kAxisX), event.wheel < 0 ? '-' : '+');
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    platform::sleepMs(kPostWaitMs);
}

// One click on the direction button per event, whatever the size of the count.
void stepJog(const KeyEvent& event) {
    if (event.wheel == 0) return;
    const SharedBlock& b = bridge::block();
    const bool jiggle = b.hostMode == kModeJiggle;
    const AxisButtons buttons = axisButtons(jiggle ? b.jiggleButtons : b.jogButtons, event.axisKnob);
    HWND button = event.wheel < 0 ? buttons.minus : buttons.plus;
    platform::logEvent("step jog: %s %c%c", button ? "click on" : "no button for", static_cast<char>('X' + event.axisKnob - bridge::kAxisX), event.wheel < 0 ? '-' : '+');
    if (button) {
        PostMessageA(button, BM_CLICK, 0, 0);
        platform::sleepMs(kPostWaitMs);
    } else if (jiggle) {
        bridge::cacheJiggleButtons();
    }
}

}  // namespace

bool jogWithWheel(KeyEvent& event) {
    if (prepareJog(event)) return true;
    const SharedBlock& b = bridge::block();
    if (!isJogAxis(event.axisKnob) || b.jogLocked) return false;
    if (b.activeStepIndex == bridge::kStepContinuous && b.hostMode != kModeJiggle)
        continuousJog(event);
    else
        stepJog(event);
    return false;
}

}  // namespace executor
