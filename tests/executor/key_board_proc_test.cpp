// The frame of KeyBoardProc: the mutex, the unpacking of an event, the
// conditions under which it does nothing and the keys that end it early.
#include <gtest/gtest.h>

#include "executor_fixture.h"
#include "tests/support/mutex_holder.h"

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
}

// On a busy machine keys 7, 9 and 11 and the two-key work-coordinate
// commands, and a contact signal always, end the event before the wheel would
// click in the step mode.
TEST_F(KeyBoardProcFrame, KeysThatEndTheEventLeaveTheWheelAlone) {
    block().machineState = 2;
    block().stepIndex = 3;
    for (int keys : {9, 11, 7, 14 | 16 << 8, 16 | 14 << 8, 15 | 16 << 8, 16 | 15 << 8, 51})
        EXPECT_EQ(event(1, keys & 0xFF, keys >> 8, 0, kAxisX), 1) << keys;
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(KeyBoardProcFrame, Key13FlipsTheCoordinateDisplayOnlyWithAStillWheelAndASettledHost) {
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1);
    EXPECT_EQ(block().lastJogKey, 13);
    event(2, 13);
    EXPECT_EQ(block().showMachineCoords, 1) << "a turning wheel does not flip it";
    report(6, 6);
    event(0, 13);
    EXPECT_EQ(block().showMachineCoords, 1) << "nor a foreign window in front";
    EXPECT_TRUE(deliveries().empty()) << "an idle machine gets no menu key";
}

// A receiver that repeats the report while a key is held: key 4 over three
// reports starts the program once. A report without a key ends the press even
// when it could not get the mutex, so the next press pauses. The tool
// setter's contact signal counts on every report.
TEST_F(KeyBoardProcFrame, AKeyHeldOverSeveralReportsActsOnce) {
    DWORD t0 = clock.now();
    for (int report = 0; report < 3; ++report) event(0, 4);
    EXPECT_EQ(deliveries(), keyPress(main, VK_F9, t0));
    {
        testing_support::MutexHolder holder;
        EXPECT_EQ(event(0, 0), 1);
    }
    forgetHistory();
    t0 = clock.now();
    event(0, 4);
    EXPECT_EQ(deliveries(), keyPress(main, VK_PAUSE, t0));

    block().toolSetterEnabled = block().toolSetActive = 1;
    for (int report = 0; report < 3; ++report) event(0, 51);
    EXPECT_EQ(block().probeCount, 3);
}
