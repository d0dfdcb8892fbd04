#include "executor/tool_setter.h"

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/chords.h"
#include "executor/executor_common.h"
#include "executor/work_coordinates.h"
#include "platform/clock.h"

namespace executor {
namespace {

using bridge::SharedBlock;

constexpr DWORD kLongPressMs = 2000;
constexpr DWORD kContactPauseMs = 400;
constexpr int kContactsForMeasurement = 20;
constexpr int kRetractClickCount = 10;
constexpr int kModeGraceReports = 3;

void postKeyAndWait(UINT virtualKey) {
    bridge::postKey(bridge::block().hostWindow, virtualKey);
    platform::sleepMs(kPostWaitMs);
}

void clickAndWait(HWND button) {
    if (!button) return;
    PostMessageA(button, BM_CLICK, 0, 0);
    platform::sleepMs(kPostWaitMs);
}

bool measuring() {
    const SharedBlock& b = bridge::block();
    return b.toolSetterEnabled && b.toolSetActive;
}

DWORD sinceToolSetTick() { return platform::tickCount() - bridge::block().toolSetTick; }

// The host is settled in a mode below the back-to-reference dialog.
bool settledBelowHoming() {
    const SharedBlock& b = bridge::block();
    return b.hostMode < kModeHoming && b.hostMode == b.reportedPcState;
}

void startMeasurement() {
    SharedBlock& b = bridge::block();
    if (!machineIdle()) {
        postKeyAndWait(VK_F2);
        setRunState(kPausing);
        return;
    }
    if (b.toolSetActive) return;
    b.toolSetActive = 1;
    b.toolSetTick = platform::tickCount();
    bridge::postCtrlChord('2');
    b.jogButtonsReady = 1;
    b.savedStepIndex = b.stepIndex;
    b.restoreStepPending = 1;
}

// Pauses a running program through the toolbar's pause command and F2.
void pauseProgram() {
    SharedBlock& b = bridge::block();
    HWND controlBar = bridge::nextChildOfClass(b.hostWindow, nullptr, "AfxControlBar42");
    if (controlBar && b.pauseCommandId && bridge::nextChildOfClass(controlBar, nullptr, "ToolbarWindow32")) {
        PostMessageA(controlBar, WM_COMMAND, static_cast<WPARAM>(b.pauseCommandId),
                     static_cast<LPARAM>(b.pauseCommandId));
        platform::sleepMs(kPostWaitMs);
    }
    postKeyAndWait(VK_F2);
    setRunState(kPausing);
}

void keyWithoutToolSetter() {
    if (!settledBelowHoming()) return;
    SharedBlock& b = bridge::block();
    b.jogButtonsReady = 0;
    switch (runState()) {
    case kIdle:
        // The press is timed from its first report: a receiver that repeats
        // the report while the key is held must not restart the timing, or a
        // long press would never be seen.
        if (!b.toolSetActive) b.toolSetTick = platform::tickCount();
        b.toolSetActive = 1;
        break;
    case kRunning:
        b.toolSetActive = 0;
        pauseProgram();
        break;
    default:
        b.toolSetActive = 0;
        if (b.hostMode == kModeCalibration) {
            postKeyAndWait(VK_F9);
            setRunState(kRunning);
        }
        break;
    }
}

// After the measurement: the 10 mm step first, then every signal counts
// probeCount down; at 10 Z goes up by one click on "Z+".
void retractStep() {
    SharedBlock& b = bridge::block();
    if (b.stepIndex != bridge::kStep10) {
        bridge::selectStep(1, bridge::kStep10);
        return;
    }
    if (!bridge::manualStepsEnabled()) return;
    if (--b.probeCount == kRetractClickCount) clickAndWait(b.jogButtons[bridge::kZPlus]);
}

void clickZMinus() {
    if (bridge::manualStepsEnabled()) clickAndWait(bridge::block().jogButtons[bridge::kZMinus]);
}

void coarseApproach() {
    SharedBlock& b = bridge::block();
    b.wheelBlocked = 0;
    b.probeTick = platform::tickCount();
    if (measuring()) {
        b.toolSetTick = platform::tickCount();
        b.probeCount = 0;
        if (b.stepIndex != bridge::kStep01)
            bridge::selectStep(1, bridge::kStep01);
        else
            clickZMinus();
    } else if (b.probeCount > 0) {
        retractStep();
    }
}

void fineApproach() {
    SharedBlock& b = bridge::block();
    b.wheelBlocked = 0;
    b.toolSetTick = b.probeTick = platform::tickCount();
    if (b.stepIndex != bridge::kStep001 && b.probeCount == 0) {
        bridge::selectStep(1, bridge::kStep001);
        b.wheelBlocked = 1;
        return;
    }
    if (measuring()) {
        b.probeCount = 0;
        clickZMinus();
    } else if (b.probeCount > 0) {
        retractStep();
    }
}

void contact() {
    SharedBlock& b = bridge::block();
    if (measuring()) {
        ++b.probeCount;
        if (bridge::manualStepsEnabled() && b.probeCount >= kContactsForMeasurement) {
            b.toolSetActive = 0;
            setZCoordinate(true);
            b.probeCount = kContactsForMeasurement;
        }
    } else if (b.probeCount > 0) {
        retractStep();
    } else if (bridge::manualStepsEnabled()) {
        b.probeTick = platform::tickCount();
    } else if (platform::tickCount() - b.probeTick > kContactPauseMs) {
        postKeyAndWait(VK_F2);
    }
}

}  // namespace

void toolSettingKey() {
    if (bridge::block().toolSetterEnabled)
        startMeasurement();
    else
        keyWithoutToolSetter();
}

void keyReleaseCheck() {
    SharedBlock& b = bridge::block();
    if (!b.toolSetActive) return;
    if (b.toolSetterEnabled) {
        if (sinceToolSetTick() > kLongPressMs) b.toolSetActive = 0;
        return;
    }
    b.toolSetActive = 0;
    if (sinceToolSetTick() > kLongPressMs) {
        postChord(VK_SHIFT, VK_F7);
        b.toolChangeArmed = 1;
        return;
    }
    if (!settledBelowHoming()) return;
    b.jogButtonsReady = 0;
    if (!machineIdle()) return;
    b.hostMode = kModeCalibration;
    b.modeGrace = kModeGraceReports;
    postChord(VK_CONTROL, VK_F7);
    b.toolChangeArmed = 0;
    setRunState(kRunning);
}

void forgetTimedPress() {
    SharedBlock& b = bridge::block();
    if (!b.toolSetterEnabled) b.toolSetActive = 0;
}

void toolSetterSignal(BYTE signal) {
    switch (signal) {
    case kSignalCoarseApproach: coarseApproach(); break;
    case kSignalFineApproach: fineApproach(); break;
    case kSignalContact: contact(); break;
    default: break;
    }
}

void abortToolSetting() {
    SharedBlock& b = bridge::block();
    b.toolSetActive = 0;
    b.probeCount = kContactsForMeasurement;
    if (b.stepIndex != bridge::kStep10) bridge::selectStep(1, bridge::kStep10);
    b.modeGrace = 0;
    b.hostMode = kModeMain;
}

}  // namespace executor
