// The frame of KeyBoardProc: the mutex, the unpacking of an event and the
// conditions under which it does nothing.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class KeyBoardProcFrame : public ExecutorFixture {};

TEST_F(KeyBoardProcFrame, DoesNothingButStoreTheAxisKnobWhileUnmappedOrUnbound) {
    block().mapEnabled = 0;
    EXPECT_EQ(event(3, 4, 0, kRate20Percent, kAxisY), 0);
    EXPECT_EQ(block().axisKnobCode, kAxisY);

    block().mapEnabled = 1;
    block().hostWindow = nullptr;
    EXPECT_EQ(event(3, 4, 0, kRate20Percent, kAxisZ), 0);
    EXPECT_EQ(block().axisKnobCode, kAxisZ);

    EXPECT_TRUE(deliveries().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().lastRateKnob, 0) << "the rate knob is not applied";
    EXPECT_EQ(block().machineState & 3, 0) << "key 4 did not run";
}

TEST_F(KeyBoardProcFrame, GivesUpWithOneWhenTheMutexIsHeldElsewhereLongerThan500Ms) {
    struct Holder {
        HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        static DWORD WINAPI run(LPVOID self) {
            auto* h = static_cast<Holder*>(self);
            HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "mdllhook");
            WaitForSingleObject(mutex, INFINITE);
            SetEvent(h->taken);
            WaitForSingleObject(h->done, INFINITE);
            ReleaseMutex(mutex);
            CloseHandle(mutex);
            return 0;
        }
    } holder;
    HANDLE thread = CreateThread(nullptr, 0, Holder::run, &holder, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(holder.taken, 5000), WAIT_OBJECT_0);

    DWORD started = GetTickCount();
    int result = event(3, 4, 0, kRate20Percent, kAxisX);
    DWORD waited = GetTickCount() - started;

    SetEvent(holder.done);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(holder.taken);
    CloseHandle(holder.done);

    EXPECT_EQ(result, 1);
    EXPECT_GE(waited, 450u) << "it waited for the mutex";
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().axisKnobCode, 0) << "the event was not unpacked";
    EXPECT_EQ(block().machineState & 3, 0);
    EXPECT_EQ(block().lastRateKnob, 0);
}

TEST_F(KeyBoardProcFrame, TakesTheSecondKeyWhenTheFirstIsNone) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 0, 4), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F9, t0}, {main, WM_KEYUP, VK_F9, t0}}));
    EXPECT_EQ(block().machineState & 3, 1);
}

TEST_F(KeyBoardProcFrame, AReportWithoutAKeyEndsTheHeldJogKey) {
    block().lastJogKey = 12;
    event(0, 0);
    EXPECT_EQ(block().lastJogKey, 0);

    block().lastJogKey = 12;
    event(0, 0, 0, 0, kAxisX);
    EXPECT_EQ(block().lastJogKey, 0) << "also with the axis knob on X";
}

TEST_F(KeyBoardProcFrame, ToolSetterSignalsEndTheEvent) {
    block().stepIndex = 3;  // a step mode, in which the wheel would click
    for (BYTE signal : {49, 50, 51}) {
        EXPECT_EQ(event(1, signal, 0, 0, kAxisX), 1) << int(signal);
    }
    EXPECT_TRUE(deliveries().empty()) << "the wheel did not jog";
}

TEST_F(KeyBoardProcFrame, KeysWithoutAnActionLeaveTheCommonStepsRunning) {
    block().stepIndex = 3;
    HWND xPlus = jogButton(bridge::kXPlus);
    DWORD t0 = clock.now();
    for (BYTE key : {14, 15, 16, 99}) EXPECT_EQ(event(1, key, 0, 0, kAxisX), 0) << int(key);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{xPlus, BM_CLICK, 0, t0},
                                                   {xPlus, BM_CLICK, 0, t0 + 40},
                                                   {xPlus, BM_CLICK, 0, t0 + 80},
                                                   {xPlus, BM_CLICK, 0, t0 + 120}}));
}

TEST_F(KeyBoardProcFrame, Key13FlipsTheCoordinateDisplayOnlyWithAStillWheel) {
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1);
    EXPECT_EQ(block().lastJogKey, 13);
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 0);
    event(2, 13);
    EXPECT_EQ(block().showMachineCoords, 0) << "a turning wheel does not flip it";

    block().hostMode = 6;
    block().reportedPcState = 6;
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 0) << "nor a foreign window in front";
    EXPECT_TRUE(deliveries().empty()) << "an idle machine gets no menu key";
}
