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
#include "executor/key_press.h"
#include "executor/key_table.h"
#include "executor/lead_mode.h"
#include "executor/on_off_toggle.h"
#include "executor/override_sliders.h"
#include "executor/prompt_answers.h"
#include "executor/rate_knob.h"
#include "executor/tool_setter.h"
#include "platform/support_log.h"

namespace executor {
namespace {

// The result of an event that ended early or could not get the mutex.
constexpr int kEndedEarly = 1;
// key1 and key2 of the key word.
constexpr DWORD kKeyBytes = 0xFFFF;

// The key word and wheel count of the last event logged. A receiver that
// repeats its report while a key is held sends the same event every few tens
// of milliseconds: the log shows it once. Every event with a wheel count (a
// step or a jog each) and the first without one are shown; the reports
// level shows every report anyway.
int lastLoggedKeyWord = -1;
int lastLoggedWheel = 0;

void logKeyEvent(const KeyEvent& event, int keyWord) {
    if (event.releaseOnly) return;
    if (event.wheel == 0 && lastLoggedWheel == 0 && keyWord == lastLoggedKeyWord) return;
    lastLoggedKeyWord = keyWord;
    lastLoggedWheel = event.wheel;
    platform::logEvent("key event: keys %u %u, wheel %d, rate knob %u, axis knob %u", event.key1, event.key2,
                       event.wheel, event.rateKnob, event.axisKnob);
}

int executeEvent(int wheelDelta, int keyWord) {
    bridge::SharedBlock& b = bridge::block();

    // The knobs and the effective key; the wheel count (0 while blocked).
    KeyEvent event = unpackKeyEvent(wheelDelta, keyWord);
    logKeyEvent(event, keyWord);
    // A release that stands for a lost link, a lock or an exit lets go of a
    // held jog at once and does nothing else: a key-6 press the operator
    // never finished posts nothing.
    if (event.releaseOnly) {
        platform::logEvent("release-only event: a held jog is let go, nothing else");
        forgetTimedPress();
        bridge::letGoOfHeldJog();
        stopLeadFeed();
        return 0;
    }
    b.axisKnobCode = event.axisKnob;
    // A key held over several reports acts once; what follows the wheel or
    // a held key (jogs, sliders, lead mode, the tool setter's signals) runs
    // on every report.
    const bool newPress = beginsPress(event);
    // A report without a key is how a held key ends.
    if (event.noKeyDown()) {
        keyReleaseCheck();
        b.lastJogKey = 0;
    }

    if (!b.hostWindow || !b.mapEnabled) {
        platform::logEvent("key event ignored: %s", b.hostWindow ? "key events are off (EnableMap 0)" : "not bound");
        return 0;
    }

    // A new rate-knob position; it is tried again with every event until it
    // could be applied.
    if (event.rateKnob != b.lastRateKnob && applyRateCode(event.rateKnob)) {
        b.lastRateKnob = event.rateKnob;
        b.lastJogKey = 0;
        bridge::releaseJog();
    }

    if (event.key == kKeyCoordinateDisplay && event.wheel == 0 && hostSettled()) {
        b.lastJogKey = kKeyCoordinateDisplay;
        if (newPress) b.showMachineCoords = b.showMachineCoords ? 0 : 1;
    }

    if ((newPress || isToolSetterSignal(event.key)) && runKeyAction(event)) return kEndedEarly;

    if (newPress && event.key == kKeyOnOff && hostSettled()) toggleOnOff();

    // The wheel and keys 8 and 12 on the jog axes, the wheel on the override
    // sliders.
    if (jogWithWheel(event)) return kEndedEarly;
    moveOverrideSlider(event);

    if (newPress && event.key == kKeyConfirm) confirmHostWindow();
    if (newPress && event.key == kKeyCancel) cancelHostWindow();

    return runLeadMode(event);
}

}  // namespace
}  // namespace executor

int WINAPI KeyBoardProc(int wheelDelta, int keyWord) {
    const bool releaseOnly = bridge_abi::isReleaseOnly(wheelDelta);
    bridge::MutexHold hold;
    if (hold.timedOut()) {
        platform::logEvent("key event: \"mdllhook\" busy for 500 ms, ended early");
        // A key let go must not be lost behind a reader waiting on NcStudio.
        const bool keyless = (static_cast<DWORD>(keyWord) & executor::kKeyBytes) == 0;
        if (releaseOnly || keyless) bridge::requestPendingRelease();
        if (keyless && !releaseOnly) executor::endPress();
        return executor::kEndedEarly;
    }
    bridge::honourPendingRelease();
    return executor::executeEvent(wheelDelta, keyWord);
}
