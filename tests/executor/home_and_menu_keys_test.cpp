// Keys 11 (back to reference) and 9 (F7).
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class HomeAndMenuKeys : public ExecutorFixture {};

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
    EXPECT_TRUE(host.received(WM_KEYDOWN)[0].controlDown);
}

TEST_F(HomeAndMenuKeys, Key11InTheHomingDialogClicksTheSelectedAxisThenHoldsCtrlHome) {
    HWND homing = ncstudio.homingDialog({"&All Axes", "&X Axis", "&Y Axis home", "&Y Axis", "&Z Axis"});
    block().hostMode = 5;
    block().reportedPcState = 5;
    block().homingDialog = homing;
    block().hostGeneration = 2;
    DWORD t0 = clock.now();
    event(0, 11, 0, 0, kAxisY);
    // "&Y Axis home" is passed over: 10 characters or more.
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{FindWindowExA(homing, nullptr, nullptr, "&Y Axis"), BM_CLICK, 0, t0},
                                                   {main, WM_KEYDOWN, VK_HOME, t0},
                                                   {main, WM_KEYUP, VK_HOME, t0 + 100}}));
    EXPECT_TRUE(host.received(WM_KEYDOWN)[0].controlDown);
}

TEST_F(HomeAndMenuKeys, Key11AndKey9EndTheEventOnABusyMachine) {
    block().machineState = 2;
    block().stepIndex = 3;
    EXPECT_EQ(event(1, 11, 0, 0, kAxisX), 1);
    EXPECT_EQ(event(1, 9, 0, 0, kAxisX), 1);
    EXPECT_TRUE(deliveries().empty()) << "neither a command nor the wheel's click";
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(HomeAndMenuKeys, Key9PostsF7WithoutWaitingAndEntersTheCalibrationMode) {
    block().stepIndex = 3;
    DWORD t0 = clock.now();
    EXPECT_EQ(event(1, 9, 0, 0, kAxisX), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F7, t0},
                                                   {main, WM_KEYUP, VK_F7, t0},
                                                   {jogButton(bridge::kXPlus), BM_CLICK, 0, t0}}));
    EXPECT_EQ(block().hostMode, 1);
    EXPECT_EQ(block().modeGrace, 3);
}
