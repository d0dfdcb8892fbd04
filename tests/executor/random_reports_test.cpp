// Random input reports (keys, knob codes and wheel counts, also codes no
// pendant sends) through KeyBoardProc and the status readers against the
// stand-in NcStudio, in virtual time: the bridge mutex is never left owned,
// and after a final report without a key no jog button stays held.
// WHEELPAD_SOAK_REPORTS sets the count (the soak run by hand uses 100000).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "executor_fixture.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/random_input.h"

using namespace executor_testing;

namespace {

int reportCount() {
    const char* set = std::getenv("WHEELPAD_SOAK_REPORTS");
    return set ? std::atoi(set) : 100;
}

}  // namespace

class RandomReports : public ExecutorFixture {};

TEST_F(RandomReports, NeverLeaveTheMutexOwnedNorAJogHeldAfterAKeylessReport) {
    ncstudio.statusDialog(main, "IDLE");
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> any(0, 255);
    const int count = reportCount();
    BYTE axisKnob = 0;
    for (int n = 0; n < count; ++n) {
        const testing_support::RandomReport r = testing_support::randomReport(random);
        axisKnob = r.axisKnob;
        event(r.wheel, r.key1, r.key2, r.rateKnob, r.axisKnob);
        if (n % 4 == 3) {
            GetMaState(nullptr);
            GetMaStep();
            char location[1024];
            GetAxisLocation(location);
            settle();
        }
        clock.advance(static_cast<DWORD>(any(random)));
        ASSERT_TRUE(testing_support::otherThreadCanTake()) << "\"mdllhook\" left owned after report " << n;
    }

    event(0, 0, 0, block().lastRateKnob, axisKnob);
    EXPECT_TRUE(testing_support::heldButtons(host.received()).empty()) << "a jog button is still held";
    EXPECT_EQ(block().heldJogAxis, 0);
}
