// Selecting the jog step by clicking a step radio of the manual page, and
// telling whether manual jogging is possible.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::childWithText;
using bridge_tests::manualPageWithButtons;
using bridge_tests::Post;
using bridge_tests::postsOf;
using standin::StepCaptions;
using testing_support::BridgeFixture;

class StepSelection : public BridgeFixture {
protected:
    // Binds `main` and forgets what building it posted.
    void bind(HWND main) {
        bindTo(main);
        host.clearReceived();
    }

    void build(StepCaptions captions = StepCaptions::Selection) {
        HWND main = ncstudio.mainWindow();
        page = manualPageWithButtons(ncstudio, main, captions);
        bind(main);
    }

    std::vector<standin::Received> clicks() {
        settle();
        return host.received(BM_CLICK);
    }

    HWND page = nullptr;
};

TEST_F(StepSelection, ModesPickTheNextThePreviousOrTheGivenStepAndClickIt) {
    const struct {
        BYTE mode;
        int index, fromStep, fromTarget;
        const char* clicked;
        int step, target;
    } cases[] = {
        {0, 0, 3, 0, "0.5mm", 4, 4}, {0, 0, 7, 5, "&Jog", 0, 0},   // next wraps after 10mm
        {2, 0, 5, 0, "0.5mm", 4, 4}, {2, 0, 0, 5, "&Jog", 0, 0},   // previous stays at 0
        {1, 6, 1, 3, "5mm", 6, 3},   {5, 7, 2, 3, "10mm", 7, 3},   // any other mode: the index
    };
    build();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " from " << c.fromStep);
        host.clearReceived();
        clock.clearSleeps();
        block().stepIndex = c.fromStep;
        block().stepTarget = c.fromTarget;
        block().stepClicked = block().stepReclick = 0;
        DWORD start = clock.now();

        bridge::selectStep(c.mode, c.index);

        settle();
        EXPECT_EQ(postsOf(host.received()),
                  (std::vector<Post>{{childWithText(page, c.clicked), BM_CLICK, 0, 0, start}}));
        EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
        EXPECT_EQ(block().stepIndex, c.step);
        EXPECT_EQ(block().stepTarget, c.target);
        EXPECT_EQ(block().stepClicked, 1);
        EXPECT_EQ(block().stepReclick, 1);
        EXPECT_EQ(block().stepClickTick, start + 40) << "taken after the wait";
    }
}

TEST_F(StepSelection, ButtonIsTheFirstChildOfItsTextAndContinuousFallsBackToChinese) {
    HWND main = ncstudio.mainWindow();
    page = ncstudio.manualPage(main);
    HWND label = ncstudio.label(page, "0.5mm");
    ncstudio.radio(page, "0.5mm", false);
    HWND continuous = ncstudio.radio(page, "连续", false);
    bind(main);

    bridge::selectStep(1, 4);
    block().stepIndex = 7;
    bridge::selectStep(0, 0);

    auto clicked = clicks();
    ASSERT_EQ(clicked.size(), 2u);
    EXPECT_EQ(clicked[0].window, label) << "any class";
    EXPECT_EQ(clicked[1].window, continuous) << "no \"&Jog\" button";
    EXPECT_EQ(block().stepIndex, 0);
    EXPECT_EQ(block().stepTarget, 0);
}

TEST_F(StepSelection, NoEnabledButtonIsNoClickAndOnlyAMissingOneClearsJogButtonsReady) {
    // "0.1 mm" is no button for "0.1mm"; 9 and -1 have no caption at all.
    const struct {
        StepCaptions captions;
        const char* disabled;
        BYTE mode;
        int index, target;
        BYTE ready;
    } cases[] = {
        {StepCaptions::Selection, "1mm", 0, 0, 5, 1},  // the target is set before the button is looked at
        {StepCaptions::Reading, nullptr, 1, 3, 0, 0},
        {StepCaptions::Selection, nullptr, 1, 9, 0, 0},
        {StepCaptions::Selection, nullptr, 1, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " index " << c.index);
        build(c.captions);
        if (c.disabled) ncstudio.setEnabled(childWithText(page, c.disabled), false);
        block().stepIndex = 4;
        block().stepTarget = 0;
        block().stepClicked = block().stepReclick = 1;
        block().jogButtonsReady = 1;
        clock.advance(70);

        bridge::selectStep(c.mode, c.index);

        EXPECT_TRUE(clicks().empty());
        EXPECT_TRUE(clock.sleeps().empty());
        EXPECT_EQ(block().stepIndex, 4);
        EXPECT_EQ(block().stepTarget, c.target);
        EXPECT_EQ(block().stepClicked, 0);
        EXPECT_EQ(block().stepReclick, 0);
        EXPECT_EQ(block().stepClickTick, clock.now()) << "refreshed";
        EXPECT_EQ(block().jogButtonsReady, c.ready);
    }
}

TEST_F(StepSelection, WithoutManualPageOnlyStepClickedIsCleared) {
    HWND main = ncstudio.mainWindow();
    ncstudio.coordinatePanel(main);  // 59648, 59648 exist; 59664 does not
    bind(main);
    block().stepIndex = block().stepTarget = 7;
    block().stepClicked = block().stepReclick = 1;
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

    ncstudio.destroy(childWithText(page, "0.01mm"));
    EXPECT_FALSE(bridge::manualStepsEnabled());
    bindTo(nullptr);
    EXPECT_FALSE(bridge::manualStepsEnabled());
}
