// GetMaState: NcStudio's run state and the prompt or mode in front, as the
// StateWord. Each poll also carries the housekeeping of continuous jogging:
// letting go of a jog once the wheel has been still for three polls, putting
// the step selection back where the executor wants it, restoring the step a
// tool-setter sequence put aside, and stopping a jog that keeps running after
// it was let go.
#include <string>

#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/kept_walk.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace bridge {
namespace {

constexpr DWORD kRunawayJogMs = 2000;     // a released jog still RUNNING after this is stopped
constexpr DWORD kRecentStepClickMs = 5000;  // polls count as idle this long after a step click
constexpr int kIdlePollsToRelease = 3;
constexpr DWORD kReverseLockMs = 400;
constexpr int kPromptCode = 16;
constexpr int kPromptCodeMask = 0xFF;

// Run-state words of the status dialog, tested in this order; the index is the
// run state (0 IDLE, 1 RUNNING, 2 PAUSING, 3 emergency stop).
constexpr const char* kRunStateWords[] = {"IDLE", "RUNNING", "PAUSING", "紧停"};

// Releases a jog the wheel has left alone for three polls, then clicks the
// step the executor aims at when it differs or a re-click is due.
void releaseIdleJog() {
    SharedBlock& b = block();
    if (++b.jogIdlePolls < kIdlePollsToRelease) return;
    b.jogIdlePolls = 0;
    b.reverseLock = 0;
    // A jog held by key 8 or 12 goes on, and its direction stays known: the
    // key's next report would otherwise be taken for a reversal.
    const bool heldByKey = b.heldJogAxis != 0 && (b.lastJogKey == 8 || b.lastJogKey == 12);
    if (!heldByKey) b.lastJogDirection = 0;
    if (!releaseJog()) return;
    if (b.stepTarget == b.stepIndex && b.stepReclick == 0) {
        b.heldJogAxis = 0;
        b.activeStepIndex = b.stepIndex;
        return;
    }
    selectStep(1, b.stepTarget);
    if (b.stepClicked) {
        b.heldJogAxis = 0;
        b.stepReclick = 0;
        b.stepIndex = b.stepTarget;
        b.activeStepIndex = b.stepTarget;
    }
}

// Puts back the step a finished tool-setter sequence saved.
void restoreSavedStep() {
    SharedBlock& b = block();
    if (b.savedStepIndex == b.stepIndex || !b.restoreStepPending || b.toolSetActive || b.probeCount)
        return;
    selectStep(1, b.savedStepIndex);
    if (b.stepClicked) {
        b.restoreStepPending = 0;
        b.savedStepIndex = b.stepIndex;
    }
}

void housekeeping() {
    SharedBlock& b = block();
    DWORD since = platform::tickCount() - b.stepClickTick;
    if (since > kRunawayJogMs && b.releasedJogAxis != 0) stopRunawayJog();
    if (since <= kRecentStepClickMs || b.stepReclick != 0) releaseIdleJog();
    if (b.reverseLock && platform::tickCount() - b.reverseTick > kReverseLockMs) {
        b.reverseLock = 0;
        b.lastJogDirection = 0;
    }
    restoreSavedStep();
}

// What the status dialog shows: whether the dialog and its caption static
// are there, and the text of the static after the caption ("" for none).
struct StatusReading {
    bool dialog = false;
    bool caption = false;
    std::string stateText;
};

KeptWalk statusWalk;

StatusReading readStatusDialog() {
    StatusReading reading;
    statusWalk.run([&] {
        HWND dialog = statusDialog(&statusWalk);
        if (!dialog) return;
        reading.dialog = true;
        HWND caption = statusWalk.nextChildOfClass(dialog, nullptr, "Static");
        if (!caption) return;
        reading.caption = true;
        if (HWND state = statusWalk.nextChildOfClass(dialog, caption, "Static"))
            reading.stateText = statusWalk.readText(state);
    });
    return reading;
}

// The run state a status text shows; `previous` when it is empty or shows
// none of the run-state words.
int runStateOf(const std::string& text, int previous) {
    for (int run = 0; run < 4 && !text.empty(); ++run)
        if (contains(text.c_str(), kRunStateWords[run])) return run;
    return previous;
}

// 16 while a prompt is reported, else the host mode; held within bits 8-15
// of the StateWord.
int promptCode() {
    const SharedBlock& b = block();
    int code = b.reportedPcState == kPromptCode ? kPromptCode : b.hostMode;
    return code & kPromptCodeMask;
}

}  // namespace
}  // namespace bridge

using namespace bridge;

int WINAPI GetMaState(HWND) {
    MutexHold hold;
    SharedBlock& b = block();
    if (hold.timedOut()) return b.machineState;

    honourPendingRelease();
    housekeeping();

    StatusReading status = readStatusDialog();
    if (!status.dialog) return b.machineState;
    int run = b.machineState & 3;
    if (status.caption) {
        run = runStateOf(status.stateText, run);
        b.lastRunState = run;
    }
    b.machineState = run + (promptCode() << 8);
    return b.machineState;
}
