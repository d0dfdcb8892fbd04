// Key 10: the ON/OFF button of NcStudio's coordinate panel.
#include <gtest/gtest.h>

#include <string>

#include "executor_fixture.h"

using namespace executor_testing;

class OnOffToggle : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        HWND panel = ncstudio.coordinatePanel(main);
        ncstudio.button(panel, "12.500");
        onOff = ncstudio.button(panel, "ON");
    }

    // Presses key 10 while the button shows `caption`; returns the captions
    // it showed when it was pressed.
    std::string pressShowing(const char* caption) {
        ncstudio.setText(onOff, caption);
        release();
        forgetHistory();
        event(0, 10);
        std::string pressed;
        for (const standin::Received& r : host.received(WM_LBUTTONDOWN)) {
            EXPECT_EQ(r.window, onOff);
            EXPECT_EQ(r.lParam, 0x10);
            pressed += r.text;
        }
        EXPECT_EQ(host.received(WM_LBUTTONUP).size(), host.received(WM_LBUTTONDOWN).size());
        return pressed;
    }

    HWND onOff = nullptr;
};

TEST_F(OnOffToggle, PressedTwiceBeforeTheReaderRunsLooksForOnThenForOff) {
    block().hostMode = 5;
    EXPECT_EQ(pressShowing("ON"), "") << "nothing with a foreign window in front";
    EXPECT_EQ(block().onOffPending, 0);

    block().hostMode = 0;
    EXPECT_EQ(pressShowing("ON"), "ON");
    EXPECT_EQ(pressShowing("OFF"), "OFF");  // NcStudio's own reaction to the click
    EXPECT_EQ(block().onOffPending, 2);
}

TEST_F(OnOffToggle, ShownOnLooksForOffAndFallsBackToOn) {
    block().onOffShown = 1;
    block().onOffPending = 1;
    EXPECT_EQ(pressShowing("OFF"), "OFF");
    EXPECT_EQ(pressShowing("ON"), "ON");
    EXPECT_EQ(block().onOffPending, 0) << "counted back, not below 0";
}
