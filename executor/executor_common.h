#pragma once
// What the executor's steps share: the key codes of a pendant event, the wait
// after every posted action, and the conditions on NcStudio's state that the
// key actions test.
#include <windows.h>

#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace executor {

using bridge::kPostWaitMs;

// Key codes of a pendant event (key1 or key2), and the tool setter's signals,
// which arrive as keys too.
enum Key : BYTE {
    kKeyCancel = 1,
    kKeyConfirm = 2,
    kKeyStop = 3,
    kKeyStartPause = 4,
    kKeyShiftStart = 5,
    kKeyToolSetting = 6,
    kKeySetZ = 7,
    kKeyJogNegative = 8,
    kKeyCalibrate = 9,
    kKeyOnOff = 10,
    kKeyHome = 11,
    kKeyJogPositive = 12,
    kKeyCoordinateDisplay = 13,
    kKeyHalve = 14,
    kKeyAxisButton = 15,
    kKeyCombine = 16,
    kKeyPause = 25,
    kSignalCoarseApproach = 49,
    kSignalFineApproach = 50,
    kSignalContact = 51,
};

// The tool setter's signals act on every report that carries them.
inline bool isToolSetterSignal(BYTE key) { return key >= kSignalCoarseApproach && key <= kSignalContact; }

// Host modes: which NcStudio mode or window is in front.
enum HostMode : int {
    kModeMain = 0,
    kModeCalibrationF7 = 1,
    kModeCalibration = 2,
    kModeHoming = 5,
    kModeJiggle = 6,
};

// Reports of PcState 0 that keep a calibration mode the executor started.
constexpr int kModeGraceReports = 3;

// Where the executor's mouse clicks on NcStudio's controls land (x 16, y 0).
constexpr LPARAM kClickPoint = 0x10;

// The reported PcState that stands for a prompt, the parameters window or the
// calibration window.
constexpr int kPromptReported = 16;

// Run state in bits 0-1 of machineState.
enum RunState : int { kIdle = 0, kRunning = 1, kPausing = 2, kEmergencyStop = 3 };

inline int runState() { return bridge::block().machineState & 3; }

inline bool machineIdle() { return runState() == kIdle; }

// Marks the run state ahead of NcStudio; the next status poll replaces it with
// what NcStudio shows.
inline void setRunState(int state) {
    bridge::SharedBlock& b = bridge::block();
    b.machineState = (b.machineState & ~3) | state;
}

// A key posted to NcStudio's main window, then the wait after it.
inline void postKeyAndWait(UINT virtualKey) {
    bridge::postKey(bridge::block().hostWindow, virtualKey);
    platform::sleepMs(kPostWaitMs);
}

// No foreign NcStudio window is in front.
inline bool hostSettled() {
    const bridge::SharedBlock& b = bridge::block();
    return b.hostMode < kModeJiggle && b.hostMode == b.reportedPcState;
}

}  // namespace executor
