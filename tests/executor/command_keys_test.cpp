// Keys 3, 4, 5, 9, 11 and 25: stop, start or pause, start with Shift or stop,
// F7, back to reference and F2.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using namespace executor_testing;

class CommandKeys : public ExecutorFixture {};

// The second time as the second key of an event whose first key is none.
TEST_F(CommandKeys, Key4TwiceWithoutAStatusPollStartsThenPauses) {
    DWORD t0 = clock.now();
    event(0, 4);
    EXPECT_EQ(block().machineState & 3, 1) << "marked RUNNING ahead of NcStudio";
    event(0, 0, 4);
    EXPECT_EQ(block().machineState & 3, 2) << "marked PAUSING";
    EXPECT_EQ(deliveries(), keyPress(main, VK_F9, t0) + keyPress(main, VK_PAUSE, t0 + 40));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
}

TEST_F(CommandKeys, Key4OnAnIdleMachineAndKey3AbortingAMeasurementEndTheCalibrationMode) {
    DWORD key3Time = 0;
    for (BYTE key : {4, 3}) {
        SCOPED_TRACE(int(key));
        report(2, 2);
        block().modeGrace = 3;
        block().toolSetterEnabled = block().toolSetActive = key == 3;  // key 3 aborts a measurement
        key3Time = clock.now();
        event(0, key);
        EXPECT_EQ(block().hostMode, 0);
        EXPECT_EQ(block().modeGrace, 0);
    }
    // Key 3 lets the retract of the measurement follow on the 10 mm step.
    EXPECT_EQ(deliveries().back(), click(pageButton("10mm"), key3Time));
    EXPECT_EQ(block().toolSetActive, 0);
    EXPECT_EQ(block().probeCount, 20);
}

TEST_F(CommandKeys, Key5OnAnIdleMachineHoldsShiftF9For100Ms) {
    std::vector<bool> shiftDown;
    clock.onSleep([&] {
        settle();
        shiftDown.push_back((GetKeyState(VK_SHIFT) & 0x8000) != 0);
    });
    DWORD t0 = clock.now();
    event(0, 5);

    EXPECT_EQ(deliveries(), keyPress(main, VK_F9, t0, 100));
    LPARAM expected = static_cast<LPARAM>((MapVirtualKeyA(VK_F9, 0) << 16) | 0xC0000001u);
    for (const standin::Received& key : host.received()) EXPECT_EQ(key.lParam, expected);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 40}));
    EXPECT_EQ(shiftDown, (std::vector<bool>{true, true}));
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "Shift restored";
    EXPECT_EQ(block().machineState & 3, 1);
}

TEST_F(CommandKeys, Keys5And3StopABusyMachine) {
    block().hostGeneration = 2;
    for (BYTE key : {5, 3}) {
        SCOPED_TRACE(int(key));
        block().machineState = 1;
        block().jogButtonsReady = 1;
        forgetHistory();
        DWORD t0 = clock.now();
        event(0, key);
        EXPECT_EQ(deliveries(), keyPress(main, VK_F11, t0));
        EXPECT_EQ(block().machineState & 3, 0);
        EXPECT_EQ(block().jogButtonsReady, 0);
    }
}

TEST_F(CommandKeys, OnlyKey25IsPostedWhileAForeignWindowIsInFront) {
    report(6, 16);
    for (BYTE key : {3, 4, 5, 9, 11}) event(0, key);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().jogButtonsReady, 1);

    DWORD t0 = clock.now();
    event(0, 25);
    EXPECT_EQ(deliveries(), keyPress(main, VK_F2, t0));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40}));
}

TEST_F(CommandKeys, Key11InGeneration1PostsCtrl1AndTheMenuKeyN) {
    DWORD t0 = clock.now();
    event(0, 11);
    // Ctrl+'1' (40 ms apart, then 40 ms after re-caching), Alt+'O', 40 ms, 'N'.
    Deliveries altO{{main, WM_SYSKEYDOWN, 'O', t0 + 120}};
    EXPECT_EQ(deliveries(), keyPress(main, '1', t0, 40) + altO + keyPress(main, 'N', t0 + 160));
    EXPECT_EQ(host.received(WM_SYSKEYDOWN)[0].lParam, 0x20000000);
    EXPECT_TRUE(host.received(WM_KEYDOWN)[0].controlDown);
}

TEST_F(CommandKeys, Key11InTheHomingDialogClicksTheSelectedAxisThenHoldsCtrlHome) {
    HWND homing = ncstudio.homingDialog({"&All Axes", "&X Axis", "&Y Axis home", "&Y Axis", "&Z Axis"});
    report(5, 5);
    block().homingDialog = homing;
    block().hostGeneration = 2;
    DWORD t0 = clock.now();
    event(0, 11, 0, 0, kAxisY);
    // "&Y Axis home" is passed over: 10 characters or more.
    HWND yAxis = FindWindowExA(homing, nullptr, nullptr, "&Y Axis");
    EXPECT_EQ(deliveries(), Deliveries{click(yAxis, t0)} + keyPress(main, VK_HOME, t0, 100));
    EXPECT_TRUE(host.received(WM_KEYDOWN)[0].controlDown);
}

TEST_F(CommandKeys, Key9PostsF7WithoutWaitingAndEntersTheCalibrationMode) {
    block().stepIndex = 3;
    DWORD t0 = clock.now();
    EXPECT_EQ(event(1, 9, 0, 0, kAxisX), 0);
    EXPECT_EQ(deliveries(), keyPress(main, VK_F7, t0) + Deliveries{click(jogButton(bridge::kXPlus), t0)});
    EXPECT_EQ(block().hostMode, 1);
    EXPECT_EQ(block().modeGrace, 3);
}

// The display toggle comes first; on a busy machine the key then opens
// NcStudio's menu with Ctrl+'1', Alt+'O' and 'J', but not while the "Jiggle"
// window is in front.
TEST_F(CommandKeys, Key13OnABusyMachinePostsCtrl1AndTheMenuKeyJ) {
    block().machineState = 1;
    DWORD t0 = clock.now();
    event(0, 13);
    Deliveries altO{{main, WM_SYSKEYDOWN, 'O', t0 + 120}};
    EXPECT_EQ(deliveries(), keyPress(main, '1', t0, 40) + altO + keyPress(main, 'J', t0 + 160));
    EXPECT_TRUE(host.received(WM_KEYDOWN)[0].controlDown);
    EXPECT_EQ(block().showMachineCoords, 1);
    EXPECT_EQ(block().jogButtonsReady, 0);

    report(6, 6);
    block().jogButtonsReady = 1;
    forgetHistory();
    event(0, 13);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().jogButtonsReady, 1);
}
