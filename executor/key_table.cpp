#include "executor/key_table.h"

#include <cstring>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/button_search.h"
#include "executor/chords.h"
#include "executor/executor_common.h"
#include "executor/tool_setter.h"
#include "executor/work_coordinates.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace executor {
namespace {

using bridge::SharedBlock;

constexpr size_t kHomingCaptionLimit = 10;

bool stop() {
    SharedBlock& b = bridge::block();
    if (b.toolSetterEnabled && b.toolSetActive) {
        abortToolSetting();
        return false;
    }
    if (!hostSettled()) {
        platform::logEvent("stop key: NcStudio not settled, nothing posted");
        return false;
    }
    b.jogButtonsReady = 0;
    platform::logEvent("stop key: the machine is stopped");
    bridge::stopMachine();
    return false;
}

void startOrPause() {
    if (!hostSettled()) return platform::logEvent("start/pause key: NcStudio not settled, nothing posted");
    SharedBlock& b = bridge::block();
    b.jogButtonsReady = 0;
    if (runState() == kRunning) {
        platform::logEvent("start/pause key: running, so Pause");
        postKeyAndWait(VK_PAUSE);
        setRunState(kPausing);
        return;
    }
    if (machineIdle() && b.hostMode == kModeCalibration) {
        b.modeGrace = 0;
        b.hostMode = kModeMain;
    }
    platform::logEvent("start/pause key: F9");
    postKeyAndWait(VK_F9);
    setRunState(kRunning);
}

void shiftStartOrStop() {
    if (!hostSettled()) return;
    bridge::block().jogButtonsReady = 0;
    if (!machineIdle()) {
        bridge::stopMachine();
    } else {
        postChord(VK_SHIFT, VK_F9);
        setRunState(kRunning);
    }
}

void pause() {
    bridge::block().jogButtonsReady = 0;
    postKeyAndWait(VK_F2);
}

// In the back-to-reference dialog, clicks the button of the selected axis.
void clickHomingAxisButton(BYTE axisKnob) {
    static const char* const kAxisCaptions[] = {"&X Axis", "&Y Axis", "&Z Axis"};
    if (axisKnob < bridge::kAxisX || axisKnob > bridge::kAxisZ) return;
    const char* wanted = kAxisCaptions[axisKnob - bridge::kAxisX];
    HWND button = firstButtonWhere(bridge::block().homingDialog, [wanted](const char* caption) {
        return std::strlen(caption) < kHomingCaptionLimit && bridge::contains(caption, wanted);
    });
    bridge::postTo(button, BM_CLICK, 0, 0);
}

bool backToReference(const KeyEvent& event) {
    SharedBlock& b = bridge::block();
    if (b.hostMode == kModeHoming) clickHomingAxisButton(event.axisKnob);
    if (b.hostMode >= kModeJiggle) return false;
    if (!machineIdle()) return true;
    if (b.hostGeneration == 2) {
        postChord(VK_CONTROL, VK_HOME);
    } else {
        b.jogButtonsReady = 0;
        bridge::postCtrlChord('1');
        postAltMenu('N');
    }
    return false;
}

bool calibrate() {
    if (!hostSettled()) return false;
    if (!machineIdle()) return true;
    SharedBlock& b = bridge::block();
    bridge::postKey(b.hostWindow, VK_F7);
    b.hostMode = kModeCalibrationF7;
    b.modeGrace = kModeGraceReports;
    return false;
}

// Key 7: the Z work coordinate becomes NcStudio's safe height; the event
// ends unless a foreign window is in front.
bool setZToSafeHeight() {
    if (bridge::block().hostMode >= kModeJiggle) return false;
    if (machineIdle()) setZCoordinate(false);
    return true;
}

// The display toggle itself runs before the key actions; on a busy machine
// the key also opens NcStudio's menu with 'J'.
void coordinateDisplayMenu() {
    SharedBlock& b = bridge::block();
    if (machineIdle() || b.hostMode == kModeJiggle) return;
    b.jogButtonsReady = 0;
    bridge::postCtrlChord('1');
    postAltMenu('J');
}

}  // namespace

bool runKeyAction(const KeyEvent& event) {
    switch (event.key) {
    case kKeyStop: return stop();
    case kKeyStartPause: startOrPause(); return false;
    case kKeyPause: pause(); return false;
    case kKeyShiftStart: shiftStartOrStop(); return false;
    case kKeyToolSetting: toolSettingKey(); return false;
    case kSignalCoarseApproach:
    case kSignalFineApproach:
    case kSignalContact: toolSetterSignal(event.key); return true;
    case kKeyHome: return backToReference(event);
    case kKeySetZ: return setZToSafeHeight();
    case kKeyHalve: return event.key2 == kKeyCombine && halfCoordinate(event.axisKnob);
    case kKeyCombine:
        if (event.key2 == kKeyHalve) return halfCoordinate(event.axisKnob);
        if (event.key2 == kKeyAxisButton) return pressAxisButton(event.axisKnob);
        return false;
    case kKeyAxisButton: return event.key2 == kKeyCombine && pressAxisButton(event.axisKnob);
    case kKeyCalibrate: return calibrate();
    case kKeyCoordinateDisplay: coordinateDisplayMenu(); return false;
    default: return false;
    }
}

}  // namespace executor
