#pragma once
// The state of ncbridge: one block per process that loads the library, used by
// every export. Fields keep NcStudio's binding, the host generation, which of
// its windows is in front, cached button handles, the last status values and
// the executor's bookkeeping.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace bridge {

// Jog step selection of NcStudio's manual page.
enum StepIndex : int {
    kStepContinuous = 0,  // "&Jog"
    kStep001 = 1,
    kStep005 = 2,
    kStep01 = 3,
    kStep05 = 4,
    kStep1 = 5,
    kStep5 = 6,
    kStep10 = 7,
};

// Axis-knob codes of a key event.
enum AxisCode : unsigned char {
    kAxisX = 17,
    kAxisY = 18,
    kAxisZ = 19,
    kSpindleOverride = 20,
    kFeedOverride = 21,
    kLeadMode = 22,
};

// Order of the cached jog buttons.
enum JogButton : int { kYMinus = 0, kYPlus, kXMinus, kXPlus, kZMinus, kZPlus, kJogButtonCount };

struct SharedBlock {
    std::string stepText;
    std::string spindleText;
    std::string feedText;
    std::string lastFeedText;
    const char* stepCaptions[9] = {"&Jog", "0.01mm", "0.05mm", "0.1mm", "0.5mm",
                                   "1mm",  "5mm",    "10mm",   "连续"};
    BYTE keyboardState[256] = {};
    int stopCommandId = 32829;
    int leadLastPos = 0;
    BYTE lastFeedPercent = 0;
    int pauseCommandId = 32821;
    int verArg = 0;
    int stepIndex = 0;
    BYTE showMachineCoords = 0;
    BYTE onOffShown = 0;
    BYTE onOffPending = 0;
    int mapEnabled = 0;
    int jogLocked = 0;
    BYTE jogButtonsReady = 0;
    BYTE toolSetActive = 0;
    int feedPending = 0;
    int probeCount = 0;
    DWORD toolSetTick = 0;
    DWORD probeTick = 0;
    DWORD reverseTick = 0;
    int lastRunState = 0;
    int activeStepIndex = 1;
    DWORD stepClickTick = 0;
    int wheelBlocked = 0;
    BYTE reverseLock = 0;
    int toolChangeArmed = 0;
    HWND jiggleWindow = nullptr;
    HWND homingDialog = nullptr;
    HWND promptWindow = nullptr;
    int safeHeightKnown = 0;
    double toolSetterHeight = 34.4;
    int toolSetterEnabled = 0;
    double zBase = 0.0;
    int stepClicked = 0;
    int leadState = 0;
    BYTE axisKnobCode = 0;
    BYTE lastRateKnob = 0;
    HWND hostWindow = nullptr;
    BYTE lastJogKey = 0;
    BYTE releasedJogAxis = 0;
    int hostGeneration = 1;
    int leadIdleCount = 0;
    int lastStepCode = 15;
    int reportedPcState = 0;
    int feedFieldIndex = 0;
    LVITEMA listItemScratch = {};
    int leadSavedPos = 0;
    int leadRangeMax = 0;
    int heldJogAxis = 0;
    int jogIdlePolls = 0;
    DWORD leadEventCount = 0;
    int leadSum = 0;
    HWND jogButtons[kJogButtonCount] = {};
    int stepTarget = 0;
    HWND jiggleButtons[kJogButtonCount] = {};
    HWND feedButton = nullptr;
    int savedStepIndex = 0;
    int restoreStepPending = 0;
    int stepReclick = 0;
    int hostMode = 0;
    int savedHostMode = 0;
    int machineState = 1;
    int modeGrace = 0;
    int lastJogDirection = 0;
    double publicOffset[3] = {};
    // key1 and key2 of the last key event, 0 after one without a key.
    LONG pressedKeys = 0;
};

// The block of this process.
SharedBlock& block();

// Library start-up: a fresh block (every field at its start value), no kept
// walks of the status readers and the mutex "mdllhook". Called when the
// library is loaded.
void startUp();

// Library shut-down: closes the mutex. Called when the library is unloaded.
void shutDown();

}  // namespace bridge
