// Key 10: the ON/OFF button of NcStudio's coordinate panel.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class OnOffToggle : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        HWND panel = ncstudio.coordinatePanel(main);
        ncstudio.button(panel, "12.500");
        onOff = ncstudio.button(panel, "ON");
    }

    // The captions the button showed when it was pressed, in order.
    std::vector<std::string> pressedCaptions() const {
        std::vector<std::string> captions;
        for (const standin::Received& r : host.received(WM_LBUTTONDOWN)) {
            EXPECT_EQ(r.window, onOff);
            EXPECT_EQ(r.lParam, 0x10);
            captions.push_back(r.text);
        }
        EXPECT_EQ(host.received(WM_LBUTTONUP).size(), captions.size());
        return captions;
    }

    HWND onOff = nullptr;
};

TEST_F(OnOffToggle, PressedTwiceBeforeTheReaderRunsLooksForOnThenForOff) {
    event(0, 10);
    ncstudio.setText(onOff, "OFF");  // NcStudio's own reaction to the click
    event(0, 10);
    EXPECT_EQ(pressedCaptions(), (std::vector<std::string>{"ON", "OFF"}));
    EXPECT_EQ(block().onOffPending, 2);
}

TEST_F(OnOffToggle, ShownOnLooksForOffAndFallsBackToOn) {
    block().onOffShown = 1;
    block().onOffPending = 1;
    ncstudio.setText(onOff, "OFF");
    event(0, 10);
    ncstudio.setText(onOff, "ON");
    event(0, 10);
    EXPECT_EQ(pressedCaptions(), (std::vector<std::string>{"OFF", "ON"}));
    EXPECT_EQ(block().onOffPending, 0) << "counted back, not below 0";
}

TEST_F(OnOffToggle, NothingWithAForeignWindowInFront) {
    block().hostMode = 5;
    event(0, 10);
    EXPECT_TRUE(pressedCaptions().empty());
    EXPECT_EQ(block().onOffPending, 0);
}
