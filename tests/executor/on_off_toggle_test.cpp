// Key 10: the ON/OFF button of NcStudio's coordinate panel.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class OnOffToggle : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        panel = ncstudio.coordinatePanel(main);
        ncstudio.button(panel, "12.500");
        onOff = ncstudio.button(panel, "ON");
    }

    HWND panel = nullptr;
    HWND onOff = nullptr;
};

TEST_F(OnOffToggle, PressedTwiceBeforeTheReaderRunsLooksForOnThenForOff) {
    DWORD t0 = clock.now();
    event(0, 10);
    ncstudio.setText(onOff, "OFF");  // NcStudio's own reaction to the click
    event(0, 10);

    std::vector<standin::Received> clicks;
    for (const standin::Received& r : host.received())
        if (r.message == WM_LBUTTONDOWN || r.message == WM_LBUTTONUP) clicks.push_back(r);
    ASSERT_EQ(clicks.size(), 4u);
    const char* shown[] = {"ON", "ON", "OFF", "OFF"};
    const UINT messages[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
    for (size_t i = 0; i < clicks.size(); ++i) {
        EXPECT_EQ(clicks[i].window, onOff);
        EXPECT_EQ(clicks[i].message, messages[i]);
        EXPECT_EQ(clicks[i].wParam, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(clicks[i].lParam, 0x10);
        EXPECT_EQ(clicks[i].text, shown[i]) << "the caption looked for";
        EXPECT_EQ(clicks[i].time, t0);
    }
    EXPECT_EQ(block().onOffPending, 2);
}

TEST_F(OnOffToggle, ShownOnLooksForOffAndCountsTheClickBack) {
    ncstudio.setText(onOff, "OFF");
    block().onOffShown = 1;
    block().onOffPending = 1;
    event(0, 10);
    ASSERT_EQ(host.received(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(host.received(WM_LBUTTONDOWN)[0].text, "OFF");
    EXPECT_EQ(block().onOffPending, 0);
}

TEST_F(OnOffToggle, FallsBackToTheOnButtonWhenOffIsNotThere) {
    block().onOffShown = 1;
    event(0, 10);
    ASSERT_EQ(host.received(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(host.received(WM_LBUTTONDOWN)[0].text, "ON");
    EXPECT_EQ(block().onOffPending, 0) << "not counted below 0";
}

TEST_F(OnOffToggle, NothingWithAForeignWindowInFront) {
    block().hostMode = 5;
    block().reportedPcState = 0;
    event(0, 10);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().onOffPending, 0);
}
