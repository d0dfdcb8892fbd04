// The wheel on NcStudio's override sliders (axis knob 20 spindle, 21 feed) and
// lead mode (22), against trackbars of the coordinate panel that move with the
// arrow keys they are sent.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "executor_fixture.h"
#include "standin/ncstudio/override_slider.h"

using namespace executor_testing;

namespace {

constexpr BYTE kSpindle = 20, kFeed = 21, kLead = 22;

class OverrideSliders : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        panel = ncstudio.coordinatePanel(main);
    }

    HWND slider(int max, int position, bool enabled = true) {
        HWND created = standin::overrideSlider(ncstudio, panel, max, position);
        if (!enabled) ncstudio.setEnabled(created, false);
        return created;
    }

    static int position(HWND slider) { return static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)); }

    // The arrow keys that reached `slider`.
    std::vector<WPARAM> arrows(HWND slider) const {
        std::vector<WPARAM> keys;
        for (const standin::Received& r : host.received(WM_KEYDOWN))
            if (r.window == slider) keys.push_back(r.wParam);
        return keys;
    }

    // TBM_SETPOS positions that reached `slider`.
    std::vector<LPARAM> placed(HWND slider) const {
        std::vector<LPARAM> positions;
        for (const standin::Received& r : host.received(TBM_SETPOS))
            if (r.window == slider) positions.push_back(r.lParam);
        return positions;
    }

    HWND panel = nullptr;
};

}  // namespace

// Feed: max 150, +10 gives 15 right arrows, 40 ms apart. Spindle: under a max
// of 100 one press per count, else count x max / 100; a disabled second
// trackbar hands the spindle to the third.
TEST_F(OverrideSliders, TheWheelMovesASliderByAPercentOfItsRange) {
    struct Case {
        BYTE knob;
        int wheel, max;
        bool secondEnabled;
        WPARAM arrow;
        size_t presses;
    };
    for (const Case& c : {Case{kFeed, 10, 150, true, VK_RIGHT, 15}, Case{kSpindle, -3, 50, true, VK_LEFT, 3},
                          Case{kSpindle, -3, 200, false, VK_LEFT, 6}}) {
        SCOPED_TRACE(c.max);
        HWND feed = slider(c.knob == kFeed ? c.max : 100, 50);
        HWND second = slider(c.knob == kSpindle ? c.max : 100, 50, c.secondEnabled);
        HWND third = slider(c.max, 50);
        HWND moved = c.knob == kFeed ? feed : c.secondEnabled ? second : third;
        forgetHistory();
        EXPECT_EQ(event(c.wheel, 0, 0, 0, c.knob), 0);
        EXPECT_EQ(arrows(moved), std::vector<WPARAM>(c.presses, c.arrow));
        EXPECT_EQ(host.received(WM_KEYDOWN).size(), c.presses) << "no other slider";
        EXPECT_EQ(host.received(WM_LBUTTONDOWN)[0].window, moved);
        EXPECT_EQ(clock.sleeps(), std::vector<DWORD>(c.presses, 40));
        for (HWND each : {feed, second, third}) ncstudio.destroy(each);
    }
}

struct LeadStep {
    std::vector<int> wheel;  // counts of successive events on knob 22
    int result;              // KeyBoardProc's result of the last one
    int position;            // the slider's position afterwards
};

// Max 100, found at 30: entering with 8 sets 10 (TBM_SETPOS 9, then a right
// arrow); ten events summing 40 give 50; two still events give 0; turning
// again brings it back; 58, within 9 of the last, is not set; 300 is capped
// at 100.
TEST_F(OverrideSliders, LeadModeFollowsTheWheelsSpeedPerWindowOfEvents) {
    HWND feed = slider(100, 30);
    const std::vector<int> tenSumming40 = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    const std::vector<LeadStep> steps = {
        {{8}, 9, 10},           {tenSumming40, 49, 50},
        {{0, 0}, 0, 0},         {tenSumming40, 49, 50},
        {{5, 5, 5, 5, 5, 5, 5, 5, 5, 2}, 58, 50},
        {{30, 30, 30, 30, 30, 30, 30, 30, 30, 30}, 99, 100},
    };
    for (const LeadStep& step : steps) {
        int result = -1;
        for (int count : step.wheel) result = event(count, 0, 0, 0, kLead);
        EXPECT_EQ(result, step.result);
        EXPECT_EQ(position(feed), step.position);
    }
    EXPECT_EQ(placed(feed), (std::vector<LPARAM>{9, 49, 0, 49, 99}));
    EXPECT_EQ(arrows(feed), (std::vector<WPARAM>{VK_RIGHT, VK_RIGHT, VK_LEFT, VK_RIGHT, VK_RIGHT}));

    // Leaving puts back the position found on entering.
    forgetHistory();
    EXPECT_EQ(event(0, 0, 0, 0, kFeed), 0);
    EXPECT_EQ(placed(feed), std::vector<LPARAM>{29});
    EXPECT_EQ(position(feed), 30);
    EXPECT_EQ(block().leadState, 0);
}

TEST_F(OverrideSliders, LeavingLeadModeFromPosition0PostsALeftArrow) {
    HWND feed = slider(100, 0);
    event(20, 0, 0, 0, kLead);
    forgetHistory();
    event(0, 0, 0, 0, kAxisX);
    EXPECT_EQ(placed(feed), std::vector<LPARAM>{0});
    EXPECT_EQ(arrows(feed), std::vector<WPARAM>{VK_LEFT});
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
}
