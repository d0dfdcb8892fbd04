// The stand-in NcStudio's machine: steps add up exactly, a continuous jog
// moves at its steady speed only while held, and nothing moves while a
// program runs, pauses or the emergency stop is down.
#include <gtest/gtest.h>

#include "standin/ncstudio/machine.h"

namespace {

using standin::Machine;
using standin::RunState;

const Machine::Position kStart = {{12500, -3250, 0}, {112500, 46750, -20000}};

TEST(NcStudioMachine, StepsMoveWorkAndMachineCoordinatesAlike) {
    Machine machine(kStart);
    ASSERT_TRUE(machine.selectStep(2));  // 0.05 mm
    EXPECT_TRUE(machine.stepJog(0, 1));
    EXPECT_TRUE(machine.stepJog(0, 1));
    EXPECT_TRUE(machine.stepJog(1, -1));
    EXPECT_EQ(machine.work(0), 12600);
    EXPECT_EQ(machine.machine(0), 112600);
    EXPECT_EQ(machine.work(1), -3300);
    EXPECT_EQ(standin::millimetres(machine.work(1)), "-3.300");
    EXPECT_EQ(standin::millimetres(-50), "-0.050");
    ASSERT_TRUE(machine.selectStep(0));
    EXPECT_FALSE(machine.stepJog(0, 1)) << "a click does not step in continuous mode";
}

TEST(NcStudioMachine, ContinuousJogMovesAtItsSpeedWhileHeld) {
    Machine machine(kStart);
    ASSERT_TRUE(machine.selectStep(1));
    EXPECT_FALSE(machine.startJog(2, 1, 1000)) << "only in continuous mode";
    ASSERT_TRUE(machine.selectStep(0));
    ASSERT_TRUE(machine.startJog(2, -1, 1000));
    EXPECT_FALSE(machine.selectStep(3)) << "the step stays while a jog runs";
    machine.update(1250);
    EXPECT_EQ(machine.work(2), -standin::kJogMicronsPerSecond / 4);
    EXPECT_TRUE(machine.stopJog(1500));
    EXPECT_FALSE(machine.stopJog(2500));
    machine.update(2500);
    EXPECT_EQ(machine.work(2), -standin::kJogMicronsPerSecond / 2);
    EXPECT_EQ(machine.machine(2), -20000 - standin::kJogMicronsPerSecond / 2);
}

TEST(NcStudioMachine, RunStatesAndWhatTheyAllow) {
    Machine machine(kStart);
    machine.selectStep(1);
    EXPECT_FALSE(machine.pause()) << "nothing runs";
    EXPECT_TRUE(machine.start());
    EXPECT_FALSE(machine.start());
    EXPECT_FALSE(machine.stepJog(0, 1));
    EXPECT_FALSE(machine.home(0));
    EXPECT_TRUE(machine.pause());
    EXPECT_EQ(machine.runState(), RunState::Pausing);
    EXPECT_FALSE(machine.moveBy(0, 100));
    EXPECT_TRUE(machine.start()) << "F9 resumes a paused program";
    EXPECT_TRUE(machine.stop());
    EXPECT_FALSE(machine.stop());
    EXPECT_TRUE(machine.home(0));
    EXPECT_EQ(machine.machine(0), 0);
    EXPECT_EQ(machine.work(0), -100000);

    machine.selectStep(0);
    machine.startJog(1, 1, 0);
    machine.emergencyStop(500);
    EXPECT_FALSE(machine.jogging());
    EXPECT_EQ(machine.work(1), -3250 + standin::kJogMicronsPerSecond / 2);
    EXPECT_FALSE(machine.start()) << "the emergency stop is cleared by a stop first";
    EXPECT_TRUE(machine.stop());
    EXPECT_TRUE(machine.start());
}

}  // namespace
