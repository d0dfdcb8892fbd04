// Step jog: one click on a direction button per event, on the manual page or
// in NcStudio's "Jiggle" window.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class StepJog : public ExecutorFixture {};

TEST_F(StepJog, OneClickPerEventWhateverTheCount) {
    block().stepIndex = 3;
    HWND zPlus = jogButton(bridge::kZPlus);
    HWND zMinus = jogButton(bridge::kZMinus);
    DWORD t0 = clock.now();
    event(100, 0, 0, 0, kAxisZ);
    event(0, 0, 0, 0, kAxisZ);
    event(-128, 0, 0, 0, kAxisZ);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{zPlus, BM_CLICK, 0, t0}, {zMinus, BM_CLICK, 0, t0 + 40}}));
    EXPECT_EQ(block().activeStepIndex, 3);
    EXPECT_EQ(block().heldJogAxis, 0);
}

TEST_F(StepJog, OnlyTheLowByteOfTheWheelDeltaCounts) {
    block().stepIndex = 3;
    event(0x1FF, 0, 0, 0, kAxisX);  // low byte 0xFF: -1
    event(0x100, 0, 0, 0, kAxisX);  // low byte 0: the wheel is still
    auto clicks = host.received(BM_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].window, jogButton(bridge::kXMinus));
}

TEST_F(StepJog, TheJiggleWindowsButtonsAreClickedWhileItIsInFront) {
    HWND jiggle = ncstudio.topLevel("#32770", "Jiggle");
    HWND xMinus = ncstudio.button(jiggle, "X-");
    HWND xPlus = ncstudio.button(jiggle, "X+");
    block().hostMode = 6;
    block().reportedPcState = 6;
    block().stepIndex = 0;  // the manual page's continuous mode does not matter here

    DWORD t0 = clock.now();
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_TRUE(deliveries().empty()) << "not cached yet: nothing is clicked";
    EXPECT_EQ(block().jiggleWindow, jiggle);
    EXPECT_EQ(block().jiggleButtons[bridge::kXMinus], xMinus);

    event(-1, 0, 0, 0, kAxisX);
    event(2, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{xMinus, BM_CLICK, 0, t0}, {xPlus, BM_CLICK, 0, t0 + 40}}));
}

TEST_F(StepJog, TheWheelOnAnotherAxisKnobPositionOnlyMarksTheJogButtonsStale) {
    block().stepIndex = 3;
    event(2, 0, 0, 0, kNoAxis);
    EXPECT_EQ(block().jogButtonsReady, 0);
    EXPECT_TRUE(deliveries().empty());

    block().jogButtonsReady = 1;
    event(2, 14, 0, 0, kNoAxis);
    event(2, 13, 0, 0, kNoAxis);
    EXPECT_EQ(block().jogButtonsReady, 1) << "keys 13 and 14 keep them";
}
