#include "executor/rate_knob.h"

#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "executor/feedrate_dialog.h"
#include "platform/clock.h"

namespace executor {
namespace {

constexpr DWORD kDialogCloseWaitMs = 100;

struct RatePosition {
    BYTE code;
    int percent;
    int step;
};

constexpr RatePosition kPositions[] = {
    {13, 2, bridge::kStep001}, {14, 10, bridge::kStep005}, {15, 20, bridge::kStep01},
    {16, 40, bridge::kStep05}, {26, 60, bridge::kStep1},   {27, 80, bridge::kStep1},
    {155, 100, bridge::kStep1},
};

// The jog step of a percent; -1 for a percent of no knob position.
int stepForPercent(int percent) {
    if (percent == 0) return bridge::kStepContinuous;
    for (const RatePosition& position : kPositions)
        if (position.percent == percent) return position.step;
    return -1;
}

void takeOverStep() {
    bridge::SharedBlock& b = bridge::block();
    b.activeStepIndex = b.stepIndex;
    b.stepTarget = b.stepIndex;
}

}  // namespace

int applyRateCode(BYTE code) {
    for (const RatePosition& position : kPositions)
        if (position.code == code) return applyRate(position.percent);
    return 0;
}

int applyRate(int percent) {
    bridge::SharedBlock& b = bridge::block();
    // Without a feed button (always in generation 1) neither the feed nor the
    // step is changed.
    if (!b.feedButton) {
        takeOverStep();
        return 1;
    }
    if (!bridge::manualStepsEnabled()) return 0;

    if (percent != 0 && percent != b.lastFeedPercent) {
        b.lastFeedPercent = static_cast<BYTE>(percent);
        const FeedrateDialog dialog = openFeedrateDialog(b.feedButton);
        if (dialog.window) {
            writeFeedPercent(dialog, percent);
            closeFeedrateDialog(dialog);
            platform::sleepMs(kDialogCloseWaitMs);
        }
    }

    const int step = stepForPercent(percent);
    if (step >= 0) bridge::selectStep(1, step);
    takeOverStep();
    return 1;
}

void restoreFeed() {
    bridge::SharedBlock& b = bridge::block();
    if (!b.feedPending || !b.feedButton || !bridge::manualStepsEnabled()) return;
    const FeedrateDialog dialog = openFeedrateDialog(b.feedButton);
    if (!dialog.window) return;
    const std::string feed = editText(dialog.feedEdit);
    if (!feed.empty() && bridge::parseNumber(feed.c_str()) == bridge::parseNumber(b.lastFeedText.c_str()))
        b.feedPending = 0;
    else
        writeFeedPercent(dialog, b.lastFeedPercent);
    closeFeedrateDialog(dialog);
}

}  // namespace executor
