// Selecting NcStudio's jog step by clicking a step radio button of the manual
// page, and telling whether manual jogging is possible.
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace bridge {
namespace {

constexpr int kStepCount = 8;
constexpr int kContinuousFallbackCaption = 8;  // "连续"

}  // namespace

void selectStep(BYTE mode, int index) {
    SharedBlock& b = block();
    b.stepClicked = 0;
    HWND page = manualPage();
    if (!page) return;

    int step = index;
    if (mode == 0) {
        step = b.stepIndex + 1;
        if (step >= kStepCount) step = 0;
        b.stepTarget = step;
    } else if (mode == 2) {
        step = b.stepIndex > 0 ? b.stepIndex - 1 : 0;
        b.stepTarget = step;
    }
    // A step outside 0-7 has no caption, hence no button: it is treated like a
    // step button the page lacks rather than as some other step.
    HWND button = nullptr;
    if (step >= 0 && step < kStepCount) button = nextChildWithText(page, nullptr, b.stepCaptions[step]);
    if (!button && step == 0) button = nextChildWithText(page, nullptr, b.stepCaptions[kContinuousFallbackCaption]);

    b.stepReclick = 0;
    if (!button) {
        b.jogButtonsReady = 0;
    } else if (IsWindowEnabled(button)) {
        PostMessageA(button, BM_CLICK, 0, 0);
        platform::sleepMs(kPostWaitMs);
        b.stepIndex = step;
        b.stepClicked = 1;
        b.stepReclick = 1;
    }
    b.stepClickTick = platform::tickCount();
}

bool manualStepsEnabled() {
    HWND page = manualPage();
    if (!page) return false;
    HWND button = nextChildWithText(page, nullptr, block().stepCaptions[1]);
    return button && IsWindowEnabled(button);
}

}  // namespace bridge
