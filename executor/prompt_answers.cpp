#include "executor/prompt_answers.h"

#include <windows.h>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/button_search.h"
#include "executor/executor_common.h"
#include "platform/clock.h"

namespace executor {
namespace {

using bridge::SharedBlock;

// Dialog command ids.
constexpr WPARAM kCommandOk = 1;
constexpr WPARAM kCommandCancel = 2;
constexpr WPARAM kCommandYes = 6;
constexpr WPARAM kCommandNo = 7;

// An answered prompt ends the executor's own mode and an armed tool change.
void promptAnswered() {
    SharedBlock& b = bridge::block();
    if (!b.promptWindow) return;
    b.toolChangeArmed = 0;
    b.hostMode = kModeMain;
}

// "&All Axes" in the back-to-reference dialog, or Enter when it has none.
void confirmHoming(HWND dialog) {
    HWND allAxes = bridge::nextChildWithText(dialog, nullptr, "&All Axes");
    // A second look: the dialog may still be creating its buttons.
    if (!allAxes) allAxes = bridge::nextChildWithText(dialog, nullptr, "&All Axes");
    if (allAxes)
        PostMessageA(allAxes, BM_CLICK, 0, 0);
    else
        bridge::postKey(dialog, VK_RETURN);
    platform::sleepMs(kPostWaitMs);
}

// The prompt after a tool change: its button "换刀后…" (after the tool
// change), clicked twice.
void confirmToolChange(HWND prompt) {
    HWND button = firstButtonWhere(prompt, [](const char* caption) { return bridge::contains(caption, "换刀后"); });
    bridge::postTo(button, BM_CLICK, 0, 0);
    bridge::postTo(button, BM_CLICK, 0, 0);
}

}  // namespace

void confirmHostWindow() {
    SharedBlock& b = bridge::block();
    if (b.hostMode == kModeJiggle) {
        bridge::postKey(b.jiggleWindow, VK_RETURN);
        bridge::postTo(b.jiggleWindow, WM_COMMAND, kCommandOk, 0);
    } else if (b.hostMode == kModeHoming) {
        if (b.homingDialog) confirmHoming(b.homingDialog);
    } else if ((b.hostMode == kModeCalibration || b.toolChangeArmed) && b.promptWindow) {
        confirmToolChange(b.promptWindow);
    }
    if (b.reportedPcState == kPromptReported && b.promptWindow) {
        PostMessageA(b.promptWindow, WM_COMMAND, kCommandOk, 0);
        PostMessageA(b.promptWindow, WM_COMMAND, kCommandYes, 0);
        platform::sleepMs(kPostWaitMs);
        bridge::postKey(b.promptWindow, VK_RETURN);
    }
    promptAnswered();
}

void cancelHostWindow() {
    SharedBlock& b = bridge::block();
    if (b.hostMode == kModeJiggle) {
        bridge::postTo(b.jiggleWindow, WM_CLOSE, 0, 0);
    } else if (b.reportedPcState == kPromptReported) {
        bridge::postTo(b.promptWindow, WM_COMMAND, kCommandNo, 0);
        bridge::postTo(b.promptWindow, WM_COMMAND, kCommandCancel, 0);
    } else if (b.hostMode == kModeHoming) {
        bridge::postTo(b.homingDialog, WM_CLOSE, 0, 0);
    }
    promptAnswered();
}

}  // namespace executor
