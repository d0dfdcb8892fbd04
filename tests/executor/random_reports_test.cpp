// Random input reports (keys, knob codes and wheel counts, also codes no
// pendant sends) through KeyBoardProc and the status readers against the
// stand-in NcStudio, in virtual time: the bridge mutex is never left owned,
// and after a final report without a key no jog button stays held.
// WHEELPAD_SOAK_REPORTS sets the count (the soak run by hand uses 100000).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "executor_fixture.h"
#include "tests/support/mutex_holder.h"

using namespace executor_testing;

namespace {

int reportCount() {
    const char* set = std::getenv("WHEELPAD_SOAK_REPORTS");
    return set ? std::atoi(set) : 100;
}

// Mostly codes the pendant sends, sometimes any byte.
BYTE pick(std::mt19937& random, std::initializer_list<BYTE> usual) {
    std::uniform_int_distribution<int> any(0, 255);
    if (any(random) < 32) return static_cast<BYTE>(any(random));
    std::uniform_int_distribution<size_t> which(0, usual.size() - 1);
    return *(usual.begin() + which(random));
}

// The jog buttons whose last press NcStudio received was not let go after it.
std::vector<HWND> heldButtons(const std::vector<standin::Received>& received) {
    std::map<HWND, bool> down;
    for (const standin::Received& r : received) {
        if (r.message == WM_LBUTTONDOWN) down[r.window] = true;
        if (r.message == WM_LBUTTONUP) down[r.window] = false;
    }
    std::vector<HWND> held;
    for (const auto& button : down)
        if (button.second) held.push_back(button.first);
    return held;
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
        const BYTE key1 = pick(random, {0, 0, 0, 1, 2, 3, 4, 5, 8, 8, 9, 10, 11, 12, 12, 13, 14, 15, 16, 25});
        const BYTE key2 = any(random) < 16 ? pick(random, {4, 14, 15, 16}) : 0;
        const BYTE rateKnob = pick(random, {13, 14, 15, 16, 26, 27, 155});
        axisKnob = pick(random, {17, 17, 18, 19, 20, 21, 22});
        const int wheel = any(random) < 128 ? 0 : any(random);
        event(wheel, key1, key2, rateKnob, axisKnob);
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
    EXPECT_TRUE(heldButtons(host.received()).empty()) << "a jog button is still held";
    EXPECT_EQ(block().heldJogAxis, 0);
}
