#include "executor/override_sliders.h"

#include <commctrl.h>

#include <cstdlib>

#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "platform/clock.h"

namespace executor {
namespace {

constexpr LPARAM kClickPoint = 0x10;
constexpr int kPercent = 100;

HWND nextTrackbar(HWND panel, HWND after) { return bridge::nextChildOfClass(panel, after, TRACKBAR_CLASSA); }

// Gives the slider the focus with a click and returns its maximum.
int clickAndTakeRange(HWND slider) {
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, kClickPoint);
    SendMessageA(slider, WM_LBUTTONUP, MK_LBUTTON, kClickPoint);
    return static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
}

}  // namespace

HWND feedSlider() { return nextTrackbar(bridge::coordinatePanel(), nullptr); }

HWND spindleSlider() {
    HWND panel = bridge::coordinatePanel();
    HWND second = nextTrackbar(panel, nextTrackbar(panel, nullptr));
    if (second && (GetWindowLongA(second, GWL_STYLE) & WS_DISABLED)) return nextTrackbar(panel, second);
    return second;
}

void postArrowPress(HWND slider, UINT arrowKey) {
    PostMessageA(slider, WM_KEYDOWN, arrowKey, 0);
    PostMessageA(slider, WM_KEYUP, arrowKey, 0);
}

void moveOverrideSlider(const KeyEvent& event) {
    const bool spindle = event.axisKnob == bridge::kSpindleOverride;
    if (!spindle && event.axisKnob != bridge::kFeedOverride) return;
    if (event.wheel == 0 || bridge::block().hostMode >= kModeHoming) return;
    HWND slider = spindle ? spindleSlider() : feedSlider();
    if (!slider) return;
    const int max = clickAndTakeRange(slider);
    const int magnitude = std::abs(static_cast<int>(event.wheel));
    // A spindle slider with a range under 100 moves one step per count.
    const int presses = spindle && max < kPercent ? magnitude : magnitude * max / kPercent;
    const UINT arrow = event.wheel < 0 ? VK_LEFT : VK_RIGHT;
    for (int i = 0; i < presses; ++i) {
        postArrowPress(slider, arrow);
        platform::sleepMs(kPostWaitMs);
    }
}

}  // namespace executor
