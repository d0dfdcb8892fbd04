// Keys 3, 4, 5 and 25: stop, start or pause, start with Shift or stop, and F2.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class StartStopKeys : public ExecutorFixture {};

TEST_F(StartStopKeys, Key4TwiceWithoutAStatusPollStartsThenPauses) {
    DWORD t0 = clock.now();
    event(0, 4);
    EXPECT_EQ(block().machineState & 3, 1) << "marked RUNNING ahead of NcStudio";
    event(0, 4);
    EXPECT_EQ(block().machineState & 3, 2) << "marked PAUSING";
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F9, t0},
                                                   {main, WM_KEYUP, VK_F9, t0},
                                                   {main, WM_KEYDOWN, VK_PAUSE, t0 + 40},
                                                   {main, WM_KEYUP, VK_PAUSE, t0 + 40}}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
}

TEST_F(StartStopKeys, Key4OnAnIdleMachineEndsTheCalibrationMode) {
    block().hostMode = 2;
    block().reportedPcState = 2;
    block().modeGrace = 3;
    event(0, 4);
    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().modeGrace, 0);
    EXPECT_EQ(host.received(WM_KEYDOWN).size(), 1u);
}

TEST_F(StartStopKeys, StartAndStopKeysDoNothingWhileAForeignWindowIsInFront) {
    block().hostMode = 6;
    block().reportedPcState = 6;
    for (BYTE key : {3, 4, 5}) event(0, key);
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().jogButtonsReady, 1);
}

TEST_F(StartStopKeys, Key5OnAnIdleMachineHoldsShiftF9For100Ms) {
    std::vector<bool> shiftDown;
    clock.onSleep([&] {
        settle();
        shiftDown.push_back((GetKeyState(VK_SHIFT) & 0x8000) != 0);
    });
    DWORD t0 = clock.now();
    event(0, 5);

    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F9, t0}, {main, WM_KEYUP, VK_F9, t0 + 100}}));
    LPARAM expected = static_cast<LPARAM>((MapVirtualKeyA(VK_F9, 0) << 16) | 0xC0000001u);
    for (const standin::Received& key : host.received()) EXPECT_EQ(key.lParam, expected);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 40}));
    EXPECT_EQ(shiftDown, (std::vector<bool>{true, true}));
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0) << "Shift restored";
    EXPECT_EQ(block().machineState & 3, 1);
}

TEST_F(StartStopKeys, Keys5And3StopABusyMachine) {
    block().hostGeneration = 2;
    for (BYTE key : {5, 3}) {
        block().machineState = 1;
        block().jogButtonsReady = 1;
        forgetHistory();
        DWORD t0 = clock.now();
        event(0, key);
        EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F11, t0}, {main, WM_KEYUP, VK_F11, t0}}))
            << "key " << int(key);
        EXPECT_EQ(block().machineState & 3, 0);
        EXPECT_EQ(block().jogButtonsReady, 0);
    }
}

TEST_F(StartStopKeys, Key3AbortsARunningToolSetterMeasurementIntoTheRetract) {
    block().toolSetterEnabled = 1;
    block().toolSetActive = 1;
    block().stepIndex = 1;
    block().hostMode = 2;
    block().reportedPcState = 2;
    block().modeGrace = 3;
    DWORD t0 = clock.now();
    event(0, 3);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{pageButton("10mm"), BM_CLICK, 0, t0}}));
    EXPECT_EQ(block().toolSetActive, 0);
    EXPECT_EQ(block().probeCount, 20);
    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().modeGrace, 0);
}

TEST_F(StartStopKeys, Key25PostsF2WhateverNcStudioShows) {
    block().hostMode = 6;
    block().reportedPcState = 16;
    DWORD t0 = clock.now();
    event(0, 25);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F2, t0}, {main, WM_KEYUP, VK_F2, t0}}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40}));
}
