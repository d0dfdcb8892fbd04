// Selecting the jog step by clicking a step radio of the manual page, and
// telling whether manual jogging is possible.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::childWithText;
using bridge_tests::manualPageWithButtons;
using standin::StepCaptions;
using testing_support::BridgeFixture;

class StepSelection : public BridgeFixture {
protected:
    // NcStudio's main window with the manual page, bound; the step radios of
    // `captions`.
    HWND build(StepCaptions captions = StepCaptions::Selection) {
        HWND main = ncstudio.mainWindow();
        page = manualPageWithButtons(ncstudio, main, captions);
        bindTo(main);
        host.clearReceived();
        return main;
    }

    // The BM_CLICKs that reached the stand-in.
    std::vector<standin::Received> clicks() {
        settle();
        return host.received(BM_CLICK);
    }

    HWND page = nullptr;
};

TEST_F(StepSelection, NextStepClicksTheFollowingRadioAndWaitsFortyMilliseconds) {
    build();
    block().stepIndex = 3;
    DWORD start = clock.now();

    bridge::selectStep(0, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "0.5mm"));
    EXPECT_EQ(clicked[0].wParam, 0u);
    EXPECT_EQ(clicked[0].lParam, 0);
    EXPECT_EQ(clicked[0].time, start);
    EXPECT_EQ(host.received().size(), 1u) << "nothing but the click";
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().stepIndex, 4);
    EXPECT_EQ(block().stepTarget, 4);
    EXPECT_EQ(block().stepClicked, 1);
    EXPECT_EQ(block().stepReclick, 1);
    EXPECT_EQ(block().stepClickTick, start + 40) << "taken after the wait";
}

TEST_F(StepSelection, NextStepAfterTenMillimetresWrapsToContinuous) {
    build();
    block().stepIndex = 7;

    bridge::selectStep(0, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "&Jog"));
    EXPECT_EQ(block().stepIndex, 0);
    EXPECT_EQ(block().stepTarget, 0);
    EXPECT_EQ(block().stepClicked, 1);
}

TEST_F(StepSelection, ContinuousFallsBackToTheChineseCaptionWithoutAJogButton) {
    HWND main = ncstudio.mainWindow();
    page = ncstudio.manualPage(main);
    ncstudio.label(page, "Step");
    for (const char* caption : {"X-", "X+", "Y-", "Y+", "Z-", "Z+"}) ncstudio.button(page, caption);
    HWND continuous = ncstudio.radio(page, "连续", false);
    for (const char* caption : {"0.01mm", "0.05mm", "0.1mm", "0.5mm", "1mm", "5mm", "10mm"})
        ncstudio.radio(page, caption, std::string(caption) == "10mm");
    bindTo(main);
    host.clearReceived();
    block().stepIndex = 7;

    bridge::selectStep(0, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, continuous);
    EXPECT_EQ(block().stepIndex, 0);
    EXPECT_EQ(block().stepTarget, 0);
    EXPECT_EQ(block().stepClicked, 1);
}

TEST_F(StepSelection, StepButtonIsTheFirstChildOfThatTextInAnyClass) {
    HWND main = ncstudio.mainWindow();
    page = ncstudio.manualPage(main);
    HWND label = ncstudio.label(page, "0.5mm");
    ncstudio.radio(page, "0.5mm", false);
    bindTo(main);
    host.clearReceived();
    block().stepIndex = 3;

    bridge::selectStep(1, 4);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, label);
}

TEST_F(StepSelection, PreviousStepAtContinuousStaysAtContinuous) {
    build();
    block().stepIndex = 0;
    block().stepTarget = 5;

    bridge::selectStep(2, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "&Jog"));
    EXPECT_EQ(block().stepIndex, 0);
    EXPECT_EQ(block().stepTarget, 0);
    EXPECT_EQ(block().stepClicked, 1);
}

TEST_F(StepSelection, PreviousStepGoesDownByOne) {
    build();
    block().stepIndex = 5;

    bridge::selectStep(2, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "0.5mm"));
    EXPECT_EQ(block().stepIndex, 4);
    EXPECT_EQ(block().stepTarget, 4);
}

TEST_F(StepSelection, ExplicitIndexSelectsThatStepAndLeavesTheTarget) {
    build();
    block().stepIndex = 1;
    block().stepTarget = 3;

    bridge::selectStep(1, 6);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "5mm"));
    EXPECT_EQ(block().stepIndex, 6);
    EXPECT_EQ(block().stepTarget, 3);
    EXPECT_EQ(block().stepClicked, 1);
    EXPECT_EQ(block().stepReclick, 1);
}

TEST_F(StepSelection, AnyModeOtherThanZeroAndTwoTakesTheIndex) {
    build();
    block().stepIndex = 2;

    bridge::selectStep(5, 7);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0].window, childWithText(page, "10mm"));
    EXPECT_EQ(block().stepIndex, 7);
}

TEST_F(StepSelection, DisabledButtonIsNotClickedButTheTickIsRefreshed) {
    build();
    ncstudio.setEnabled(childWithText(page, "1mm"), false);
    block().stepIndex = 4;
    block().stepClicked = 1;
    block().stepReclick = 1;
    block().stepClickTick = 5;
    block().jogButtonsReady = 1;
    clock.advance(250);

    bridge::selectStep(0, 0);

    EXPECT_TRUE(clicks().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().stepIndex, 4);
    EXPECT_EQ(block().stepTarget, 5) << "the target is set before the button is looked at";
    EXPECT_EQ(block().stepClicked, 0);
    EXPECT_EQ(block().stepReclick, 0);
    EXPECT_EQ(block().stepClickTick, clock.now());
    EXPECT_EQ(block().jogButtonsReady, 1) << "the button exists";
}

TEST_F(StepSelection, MissingStepButtonClearsJogButtonsReady) {
    build(StepCaptions::Reading);  // "0.1 mm": no button captioned "0.1mm"
    block().stepIndex = 1;
    block().stepReclick = 1;
    block().jogButtonsReady = 1;
    clock.advance(70);

    bridge::selectStep(1, 3);

    EXPECT_TRUE(clicks().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().stepIndex, 1);
    EXPECT_EQ(block().stepClicked, 0);
    EXPECT_EQ(block().stepReclick, 0);
    EXPECT_EQ(block().jogButtonsReady, 0);
    EXPECT_EQ(block().stepClickTick, clock.now());
}

TEST_F(StepSelection, IndexOutsideTheStepsFindsNoButtonAndClicksNothing) {
    build();
    block().stepIndex = 3;
    block().jogButtonsReady = 1;

    bridge::selectStep(1, 9);
    bridge::selectStep(1, -1);

    EXPECT_TRUE(clicks().empty());
    EXPECT_EQ(block().stepIndex, 3);
    EXPECT_EQ(block().stepClicked, 0);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(StepSelection, WithoutManualPageOnlyStepClickedIsCleared) {
    HWND main = ncstudio.mainWindow();
    ncstudio.coordinatePanel(main);  // 59648, 59648 exist; 59664 does not
    bindTo(main);
    block().stepIndex = 7;
    block().stepTarget = 7;
    block().stepClicked = 1;
    block().stepReclick = 1;
    block().stepClickTick = 5;
    block().jogButtonsReady = 1;

    bridge::selectStep(0, 0);

    EXPECT_TRUE(clicks().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().stepClicked, 0);
    EXPECT_EQ(block().stepIndex, 7);
    EXPECT_EQ(block().stepTarget, 7);
    EXPECT_EQ(block().stepReclick, 1);
    EXPECT_EQ(block().stepClickTick, 5u);
    EXPECT_EQ(block().jogButtonsReady, 1);
}

TEST_F(StepSelection, ManualStepsEnabledFollowsTheFirstStepButton) {
    build();
    EXPECT_TRUE(bridge::manualStepsEnabled());

    ncstudio.setEnabled(childWithText(page, "0.01mm"), false);
    EXPECT_FALSE(bridge::manualStepsEnabled());

    ncstudio.setEnabled(childWithText(page, "0.01mm"), true);
    ncstudio.setEnabled(childWithText(page, "0.05mm"), false);
    EXPECT_TRUE(bridge::manualStepsEnabled()) << "only the 0.01mm button counts";
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST_F(StepSelection, ManualStepsDisabledWithoutTheButtonOrThePage) {
    build();
    ncstudio.destroy(childWithText(page, "0.01mm"));
    EXPECT_FALSE(bridge::manualStepsEnabled());

    bindTo(nullptr);
    EXPECT_FALSE(bridge::manualStepsEnabled());
}
