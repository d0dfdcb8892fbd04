// The Feedrate dialog round trip of generation 2: opened with the feed button,
// found as the foreground window, written and confirmed. The stand-in dialog
// stays shown once opened (hiding it is slow under Wine); every open of it is
// a click on the feed button, which brings it to the front again.
#include <gtest/gtest.h>

#include <string>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class FeedrateDialog : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        HWND panel = ncstudio.coordinatePanel(main);
        ncstudio.label(panel, "Current Command Set:");
        feedButton = ncstudio.button(panel, "F");
        block().hostGeneration = 2;
        block().feedButton = feedButton;
        dialog = ncstudio.feedrateDialog(feedButton, "1000", "3000");
    }

    std::string feedShown() const {
        char text[64] = {};
        SendMessageA(dialog.feedEdit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // What an open of the dialog leaves behind at `time`: the click on the
    // feed button, then 100 ms later the write and the confirmation.
    std::vector<Delivery> writeAndConfirm(DWORD time) const {
        return {{feedButton, BM_CLICK, 0, time},
                {dialog.feedEdit, EM_SETSEL, 0, time + 100},
                {dialog.feedEdit, EM_SCROLLCARET, 0, time + 100},
                {dialog.feedEdit, EM_REPLACESEL, 0, time + 100},
                {dialog.dialog, WM_COMMAND, IDOK, time + 100},
                {dialog.dialog, WM_CLOSE, 0, time + 100}};
    }

    HWND feedButton = nullptr;
    standin::FeedrateDialogWindows dialog;
};

TEST_F(FeedrateDialog, Code15WritesTwentyPercentOfTheBaseAndSelectsTheTenthMillimetreStep) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 0, 0, kRate20Percent), 0);

    std::vector<Delivery> expected = writeAndConfirm(t0);
    expected.push_back({pageButton("0.1mm"), BM_CLICK, 0, t0 + 200});
    EXPECT_EQ(deliveries(), expected);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 100, 40}));
    EXPECT_EQ(feedShown(), "600.000000");
    EXPECT_EQ(block().lastFeedText, "600.000000");
    EXPECT_EQ(block().feedPending, 1);
    EXPECT_EQ(block().activeStepIndex, 3);
    EXPECT_EQ(block().stepTarget, 3);
}

TEST_F(FeedrateDialog, Codes15Then14Then15OpenTheDialogEachTimeAndARepeatedCodeDoesNot) {
    const BYTE codes[] = {15, 14, 15, 15};
    const char* feeds[] = {"600.000000", "300.000000", "600.000000", "600.000000"};
    for (int i = 0; i < 4; ++i) {
        event(0, 0, 0, codes[i]);
        EXPECT_EQ(feedShown(), feeds[i]) << "event " << i;
    }
    EXPECT_EQ(host.received(EM_REPLACESEL).size(), 3u);
    std::vector<HWND> clicked;
    for (const standin::Received& r : host.received(BM_CLICK)) clicked.push_back(r.window);
    EXPECT_EQ(clicked, (std::vector<HWND>{feedButton, pageButton("0.1mm"), feedButton, pageButton("0.05mm"),
                                          feedButton, pageButton("0.1mm")}));
}

TEST_F(FeedrateDialog, HeldJogKeyChecksTheWrittenFeedAndWritesItAgainWhenChanged) {
    block().lastFeedPercent = 20;
    block().lastFeedText = "600.000000";
    block().feedPending = 1;
    block().stepIndex = 0;
    ncstudio.setText(dialog.feedEdit, "600.000000");
    forgetHistory();

    DWORD t0 = clock.now();
    event(0, 12, 0, 0, kAxisX);
    // "&Jog" is clicked, the dialog opened and found in place, then the jog.
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{pageButton("&Jog"), BM_CLICK, 0, t0},
                                                   {feedButton, BM_CLICK, 0, t0 + 40},
                                                   {dialog.dialog, WM_COMMAND, IDOK, t0 + 140},
                                                   {dialog.dialog, WM_CLOSE, 0, t0 + 140},
                                                   {jogButton(bridge::kXPlus), WM_LBUTTONDOWN, MK_LBUTTON, t0 + 140}}));
    EXPECT_EQ(block().feedPending, 0);

    // NcStudio shows another feed: the next check writes the percent again.
    ncstudio.setText(dialog.feedEdit, "550");
    block().feedPending = 1;
    event(0, 12, 0, 0, kAxisX);
    EXPECT_EQ(feedShown(), "600.000000");
    EXPECT_EQ(block().feedPending, 1) << "checked again with the next held-key event";
}
