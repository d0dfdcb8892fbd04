// Step jog: one click on a direction button per event, on the manual page or
// in NcStudio's "Jiggle" window.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class StepJog : public ExecutorFixture {};

TEST_F(StepJog, OneClickPerEventWhateverTheCount) {
    block().stepIndex = 3;
    DWORD t0 = clock.now();
    event(100, 0, 0, 0, kAxisZ);
    event(0x100, 0, 0, 0, kAxisZ);  // low byte 0: the wheel is still
    event(0x1FF, 0, 0, 0, kAxisZ);  // low byte 0xFF: -1
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{jogButton(bridge::kZPlus), BM_CLICK, 0, t0},
                                                   {jogButton(bridge::kZMinus), BM_CLICK, 0, t0 + 40}}));
}

TEST_F(StepJog, TheJiggleWindowsButtonsAreCachedFirstThenClicked) {
    HWND jiggle = ncstudio.jiggleWindow();
    block().hostMode = 6;
    block().reportedPcState = 6;
    block().stepIndex = 0;  // the manual page's continuous mode does not matter here

    event(-1, 0, 0, 0, kAxisX);
    EXPECT_TRUE(deliveries().empty()) << "not cached yet: nothing is clicked";
    EXPECT_EQ(block().jiggleWindow, jiggle);

    DWORD t0 = clock.now();
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{FindWindowExA(jiggle, nullptr, nullptr, "X-"), BM_CLICK, 0, t0}}));
}
