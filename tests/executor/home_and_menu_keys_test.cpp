// Keys 11 (back to reference), 9 (F7) and 13's menu key on a busy machine.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class HomeAndMenuKeys : public ExecutorFixture {
protected:
    LPARAM chordLParam(BYTE key) const { return static_cast<LPARAM>((MapVirtualKeyA(key, 0) << 16) | 0xC0000001u); }
};

TEST_F(HomeAndMenuKeys, Key11InGeneration2HoldsCtrlHome) {
    block().hostGeneration = 2;
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 11), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_HOME, t0}, {main, WM_KEYUP, VK_HOME, t0 + 100}}));
    for (const standin::Received& key : host.received()) {
        EXPECT_TRUE(key.controlDown);
        EXPECT_EQ(key.lParam, chordLParam(VK_HOME));
    }
}

TEST_F(HomeAndMenuKeys, Key11InGeneration1PostsCtrl1AndTheMenuKeyN) {
    DWORD t0 = clock.now();
    event(0, 11);
    // Ctrl+'1' (40 ms apart, then 40 ms after re-caching), Alt+'O', 40 ms, 'N'.
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, '1', t0},
                                                   {main, WM_KEYUP, '1', t0 + 40},
                                                   {main, WM_SYSKEYDOWN, 'O', t0 + 120},
                                                   {main, WM_KEYDOWN, 'N', t0 + 160},
                                                   {main, WM_KEYUP, 'N', t0 + 160}}));
    EXPECT_EQ(host.received(WM_SYSKEYDOWN)[0].lParam, 0x20000000);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(HomeAndMenuKeys, Key11InTheHomingDialogClicksTheSelectedAxisFirst) {
    HWND homing = ncstudio.homingDialog({"&All Axes", "&X Axis", "&Y Axis home", "&Y Axis", "&Z Axis"});
    HWND yAxis = FindWindowExA(homing, nullptr, nullptr, "&Y Axis");
    block().hostMode = 5;
    block().reportedPcState = 5;
    block().homingDialog = homing;
    block().hostGeneration = 2;
    DWORD t0 = clock.now();
    event(0, 11, 0, 0, kAxisY);

    auto got = deliveries();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], (Delivery{yAxis, BM_CLICK, 0, t0}));
    EXPECT_EQ(got[1], (Delivery{main, WM_KEYDOWN, VK_HOME, t0}));
    EXPECT_EQ(got[2], (Delivery{main, WM_KEYUP, VK_HOME, t0 + 100}));
}

TEST_F(HomeAndMenuKeys, Key11WithoutAMatchingAxisButtonGoesOnWithTheCommand) {
    HWND homing = ncstudio.homingDialog({"&All Axes", "&X Axis"});
    block().hostMode = 5;
    block().reportedPcState = 5;
    block().homingDialog = homing;
    block().hostGeneration = 2;
    event(0, 11, 0, 0, kAxisY);
    EXPECT_TRUE(host.received(BM_CLICK).empty());
    EXPECT_EQ(host.received(WM_KEYDOWN).size(), 1u);
}

TEST_F(HomeAndMenuKeys, Key11OnABusyMachineEndsTheEvent) {
    block().machineState = 1;
    block().stepIndex = 3;
    EXPECT_EQ(event(1, 11, 0, 0, kAxisX), 1);
    EXPECT_TRUE(deliveries().empty()) << "neither the command nor the wheel's click";
}

TEST_F(HomeAndMenuKeys, Key9PostsF7WithoutWaitingAndEntersTheCalibrationMode) {
    block().stepIndex = 3;
    HWND xPlus = jogButton(bridge::kXPlus);
    DWORD t0 = clock.now();
    EXPECT_EQ(event(1, 9, 0, 0, kAxisX), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F7, t0},
                                                   {main, WM_KEYUP, VK_F7, t0},
                                                   {xPlus, BM_CLICK, 0, t0}}))
        << "the jog follows at once";
    EXPECT_EQ(block().hostMode, 1);
    EXPECT_EQ(block().modeGrace, 3);
}

TEST_F(HomeAndMenuKeys, Key9OnABusyMachineEndsTheEvent) {
    block().machineState = 2;
    EXPECT_EQ(event(0, 9), 1);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(HomeAndMenuKeys, Key13OnABusyMachinePostsCtrl1AndTheMenuKeyJ) {
    block().machineState = 1;
    DWORD t0 = clock.now();
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, '1', t0},
                                                   {main, WM_KEYUP, '1', t0 + 40},
                                                   {main, WM_SYSKEYDOWN, 'O', t0 + 120},
                                                   {main, WM_KEYDOWN, 'J', t0 + 160},
                                                   {main, WM_KEYUP, 'J', t0 + 160}}));
}
