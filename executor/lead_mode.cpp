#include "executor/lead_mode.h"

#include <commctrl.h>

#include <cstdlib>

#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "executor/override_sliders.h"
#include "platform/clock.h"

namespace executor {
namespace {

using bridge::SharedBlock;

constexpr DWORD kWindowEvents = 10;
constexpr int kIdleEventsForStop = 2;
constexpr int kFullSpeedCounts = 80;
constexpr int kPositionHysteresis = 10;

// Puts the slider at `position` as NcStudio hears of it: one short of it with
// TBM_SETPOS and then one right arrow, or 0 and one left arrow.
void placeSlider(HWND slider, int position) {
    SendMessageA(slider, TBM_SETPOS, TRUE, position > 0 ? position - 1 : 0);
    platform::sleepMs(kPostWaitMs);
    postArrowPress(slider, position > 0 ? VK_RIGHT : VK_LEFT);
}

// Sums the wheel counts of a window of events; returns the speed of a window
// that is complete (10 events, or two events in a row without a count), -1
// while it is still open.
int windowSpeed(const KeyEvent& event) {
    SharedBlock& b = bridge::block();
    ++b.leadEventCount;
    b.leadSum += event.wheel;
    b.leadIdleCount = event.wheel != 0 ? 0 : b.leadIdleCount + 1;
    if (b.leadEventCount < kWindowEvents && b.leadIdleCount < kIdleEventsForStop) return -1;
    b.leadEventCount = 0;
    int speed = b.leadSum > 0 ? b.leadSum : 0;
    if (b.leadIdleCount >= kIdleEventsForStop) {
        b.leadIdleCount = 0;
        speed = 0;
    }
    b.leadSum = 0;
    return speed;
}

int lead(const KeyEvent& event) {
    HWND slider = feedSlider();
    if (!slider) return 0;
    PostMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, kClickPoint);
    PostMessageA(slider, WM_LBUTTONUP, MK_LBUTTON, kClickPoint);
    SharedBlock& b = bridge::block();
    if (b.leadState == 0) {
        b.leadSavedPos = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
        b.leadRangeMax = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
        b.leadState = 1;
        b.leadSum = 0;
        b.leadEventCount = kWindowEvents;
        // The slider is where it was found: small changes from there are
        // not worth a move.
        b.leadLastPos = b.leadSavedPos;
    } else if (event.wheel != 0) {
        b.leadState = 2;
    }

    const int speed = windowSpeed(event);
    if (speed < 0) return 0;
    int target = speed * b.leadRangeMax / kFullSpeedCounts;
    if (target == 0) {
        // The slider at 0 is the position to move on from when the wheel
        // turns again.
        b.leadLastPos = 0;
        placeSlider(slider, 0);
        return 0;
    }
    if (target >= b.leadRangeMax) target = b.leadRangeMax;
    // Compared with the position last applied: a wheel slowing down in
    // small steps still brings the slider down.
    if (std::abs(target - b.leadLastPos) < kPositionHysteresis) return target;
    b.leadLastPos = target;
    placeSlider(slider, target);
    return target - 1;
}

void leave() {
    SharedBlock& b = bridge::block();
    if (HWND slider = feedSlider()) {
        placeSlider(slider, b.leadSavedPos);
        platform::sleepMs(kPostWaitMs);
    }
    b.leadState = 0;
}

}  // namespace

void stopLeadFeed() {
    SharedBlock& b = bridge::block();
    if (b.leadState == 0) return;
    b.leadEventCount = 0;
    b.leadSum = 0;
    b.leadIdleCount = 0;
    b.leadLastPos = 0;
    if (HWND slider = feedSlider()) placeSlider(slider, 0);
}

int runLeadMode(const KeyEvent& event) {
    const SharedBlock& b = bridge::block();
    if (event.axisKnob == bridge::kLeadMode) return b.hostMode < kModeHoming ? lead(event) : 0;
    if (b.leadState != 0) leave();
    return 0;
}

}  // namespace executor
