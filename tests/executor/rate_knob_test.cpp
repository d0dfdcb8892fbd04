// The rate knob: the jog step of its position and, in generation 2, the feed
// written into NcStudio's Feedrate dialog. The stand-in dialog stays shown
// once opened; every open of it is a click on the feed button, which brings
// it to the front again.
#include <gtest/gtest.h>

#include <string>

#include "executor_fixture.h"

using namespace executor_testing;

class RateKnob : public ExecutorFixture {
protected:
    // Generation 2 with the Feedrate dialog behind the feed button.
    void withDialog() {
        generation2();
        dialog = ncstudio.feedrateDialog(feedButton, "1000", "3000");
    }

    std::string feedShown() const {
        char text[64] = {};
        SendMessageA(dialog.feedEdit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

    standin::FeedrateDialogWindows dialog;
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

// Code 15 writes 20 percent of the base 3000 and selects the 0.1 mm step;
// codes 15, 14, 15 open the dialog each time, a repeated 15 does not.
TEST_F(RateKnob, EveryNewPercentIsWrittenIntoTheFeedrateDialogAndSelectsItsStep) {
    withDialog();
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 0, 0, kRate20Percent), 0);
    // The click on the feed button, 100 ms later the write and the
    // confirmation, 100 ms later the step.
    EXPECT_EQ(deliveries(), (Deliveries{click(feedButton, t0),
                                        {dialog.feedEdit, EM_SETSEL, 0, t0 + 100},
                                        {dialog.feedEdit, EM_SCROLLCARET, 0, t0 + 100},
                                        {dialog.feedEdit, EM_REPLACESEL, 0, t0 + 100},
                                        {dialog.dialog, WM_COMMAND, IDOK, t0 + 100},
                                        {dialog.dialog, WM_CLOSE, 0, t0 + 100},
                                        click(pageButton("0.1mm"), t0 + 200)}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 100, 40}));
    EXPECT_EQ(feedShown(), "600.000000");
    EXPECT_EQ(block().lastFeedText, "600.000000");
    EXPECT_EQ(block().feedPending, 1);
    EXPECT_EQ(block().activeStepIndex, 3);
    EXPECT_EQ(block().stepTarget, 3);

    const char* feeds[] = {"300.000000", "600.000000", "600.000000"};
    const BYTE codes[] = {14, 15, 15};
    for (int i = 0; i < 3; ++i) {
        event(0, 0, 0, codes[i]);
        EXPECT_EQ(feedShown(), feeds[i]) << "code " << int(codes[i]) << ", event " << i + 2;
    }
    EXPECT_EQ(host.received(EM_REPLACESEL).size(), 3u);
    std::vector<HWND> clicked;
    for (const standin::Received& r : host.received(BM_CLICK)) clicked.push_back(r.window);
    EXPECT_EQ(clicked, (std::vector<HWND>{feedButton, pageButton("0.1mm"), feedButton, pageButton("0.05mm"),
                                          feedButton, pageButton("0.1mm")}));
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
    EXPECT_EQ(deliveries(), (Deliveries{click(feedButton, t0), click(pageButton("0.1mm"), t0 + 3100)}))
        << "nothing written, the step still selected";
    std::vector<DWORD> expectedSleeps(31, 100);
    expectedSleeps.push_back(40);
    EXPECT_EQ(clock.sleeps(), expectedSleeps);
    EXPECT_EQ(block().lastFeedPercent, 20);
    EXPECT_EQ(block().feedPending, 0);
}

TEST_F(RateKnob, AHeldJogKeyChecksTheWrittenFeedAndWritesItAgainWhenChanged) {
    withDialog();
    block().lastFeedPercent = 20;
    block().lastFeedText = "600.000000";
    block().feedPending = 1;
    block().stepIndex = 0;
    ncstudio.setText(dialog.feedEdit, "600.000000");
    forgetHistory();

    DWORD t0 = clock.now();
    event(0, 12, 0, 0, kAxisX);
    // "&Jog" is clicked, the dialog opened and found in place, then the jog.
    EXPECT_EQ(deliveries(), (Deliveries{click(pageButton("&Jog"), t0), click(feedButton, t0 + 40),
                                        {dialog.dialog, WM_COMMAND, IDOK, t0 + 140},
                                        {dialog.dialog, WM_CLOSE, 0, t0 + 140}, press(bridge::kXPlus, t0 + 140)}));
    EXPECT_EQ(block().feedPending, 0);

    // NcStudio shows another feed. A repeated report of the held key (a
    // repeating receiver) selects nothing and opens no dialog: one per report
    // would take longer than the repeats come. The next press writes the
    // percent again.
    ncstudio.setText(dialog.feedEdit, "550");
    block().feedPending = 1;
    forgetHistory();
    event(0, 12, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), Deliveries{});
    release(kAxisX);
    event(0, 12, 0, 0, kAxisX);
    EXPECT_EQ(feedShown(), "600.000000");
    EXPECT_EQ(block().feedPending, 1) << "checked again with the next press";
}
