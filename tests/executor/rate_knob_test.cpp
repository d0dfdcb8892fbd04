// The rate knob: the jog step of its position and, in generation 2, the feed
// written into NcStudio's Feedrate dialog (here without the dialog coming up).
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class RateKnob : public ExecutorFixture {
protected:
    // Generation 2 with the feed button after "Current Command Set:", as the
    // location reader finds it.
    void generation2() {
        HWND panel = ncstudio.coordinatePanel(main);
        ncstudio.label(panel, "Current Command Set:");
        feedButton = ncstudio.button(panel, "F");
        block().hostGeneration = 2;
        block().feedButton = feedButton;
    }

    HWND feedButton = nullptr;
};

TEST_F(RateKnob, InGeneration1AKnobChangeOnlyTakesOverNcStudiosStepAndUnknownCodesAreIgnored) {
    block().stepIndex = 4;
    event(0, 0, 0, kRate20Percent);
    EXPECT_EQ(block().activeStepIndex, 4);
    EXPECT_EQ(block().stepTarget, 4);
    EXPECT_EQ(block().lastRateKnob, kRate20Percent);
    event(0, 0, 0, 99);
    EXPECT_EQ(block().lastRateKnob, kRate20Percent);
    EXPECT_TRUE(deliveries().empty());
}

TEST_F(RateKnob, AnAppliedKnobLetsGoOfAHeldJog) {
    block().stepIndex = 0;
    DWORD t0 = clock.now();
    event(1, 0, 0, 0, kAxisX);
    event(1, 0, 0, 26, kAxisX);
    HWND xPlus = jogButton(bridge::kXPlus);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{xPlus, WM_LBUTTONDOWN, MK_LBUTTON, t0},
                                                   {xPlus, WM_LBUTTONUP, MK_LBUTTON, t0 + 40},
                                                   {jogButton(bridge::kXMinus), WM_LBUTTONUP, MK_LBUTTON, t0 + 40},
                                                   {xPlus, WM_LBUTTONDOWN, MK_LBUTTON, t0 + 80}}))
        << "let go at the knob, pressed again by the turning wheel";
}

TEST_F(RateKnob, TriedAgainUntilManualJoggingIsPossibleThenWaitsAtMost31TimesForTheDialog) {
    generation2();
    HWND fineStep = pageButton("0.01mm");
    ncstudio.setEnabled(fineStep, false);  // a program runs
    event(0, 0, 0, kRate20Percent);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().lastRateKnob, 0) << "not stored: tried again with the next event";

    ncstudio.setEnabled(fineStep, true);
    DWORD t0 = clock.now();
    event(0, 0, 0, kRate20Percent);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{feedButton, BM_CLICK, 0, t0},
                                                   {pageButton("0.1mm"), BM_CLICK, 0, t0 + 3100}}))
        << "nothing written, the step still selected";
    std::vector<DWORD> expectedSleeps(31, 100);
    expectedSleeps.push_back(40);
    EXPECT_EQ(clock.sleeps(), expectedSleeps);
    EXPECT_EQ(block().lastFeedPercent, 20);
    EXPECT_EQ(block().feedPending, 0);
    EXPECT_EQ(block().activeStepIndex, 3);
}

TEST_F(RateKnob, InGeneration2AWheelCountInContinuousModeSelectsTheKnobsStepAndClicksOnce) {
    generation2();
    block().stepIndex = 0;
    block().lastRateKnob = kRate20Percent;
    block().lastFeedPercent = 20;  // written already: the dialog is not opened
    DWORD t0 = clock.now();
    event(2, 0, 0, kRate20Percent, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{pageButton("0.1mm"), BM_CLICK, 0, t0},
                                                   {jogButton(bridge::kXPlus), BM_CLICK, 0, t0 + 40}}));
}
