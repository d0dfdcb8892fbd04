// The frame of KeyBoardProc: the mutex, the unpacking of an event and the
// conditions under which it does nothing.
#include <gtest/gtest.h>

#include "executor_fixture.h"
#include "tests/support/mutex_holder.h"

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
    EXPECT_EQ(block().lastRateKnob, 0);
    EXPECT_EQ(block().machineState & 3, 0) << "key 4 did not run";
}

TEST_F(KeyBoardProcFrame, GivesUpWithOneWhenTheMutexIsHeldElsewhereLongerThan500Ms) {
    testing_support::MutexHolder holder;
    DWORD started = GetTickCount();
    EXPECT_EQ(event(3, 4, 0, kRate20Percent, kAxisX), 1);
    EXPECT_GE(GetTickCount() - started, 450u) << "it waited for the mutex";
    holder.release();

    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().axisKnobCode, 0) << "the event was not unpacked";
    EXPECT_EQ(block().machineState & 3, 0);
    EXPECT_EQ(block().lastRateKnob, 0);
}

TEST_F(KeyBoardProcFrame, TakesTheSecondKeyWhenTheFirstIsNone) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 0, 4), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, VK_F9, t0}, {main, WM_KEYUP, VK_F9, t0}}));
}

TEST_F(KeyBoardProcFrame, ToolSetterSignalsEndTheEventBeforeTheWheel) {
    block().stepIndex = 3;  // a step mode, in which the wheel would click
    for (BYTE signal : {49, 50, 51}) EXPECT_EQ(event(1, signal, 0, 0, kAxisX), 1) << int(signal);
    EXPECT_TRUE(deliveries().empty());
}

TEST_F(KeyBoardProcFrame, Key13FlipsTheCoordinateDisplayOnlyWithAStillWheelAndASettledHost) {
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1);
    EXPECT_EQ(block().lastJogKey, 13);
    event(2, 13);
    EXPECT_EQ(block().showMachineCoords, 1) << "a turning wheel does not flip it";
    block().hostMode = 6;
    block().reportedPcState = 6;
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1) << "nor a foreign window in front";
    EXPECT_TRUE(deliveries().empty()) << "an idle machine gets no menu key";
}
