// NcStudio in a process of its own changes its windows at random between two
// polls (texts, check states, controls inserted, moved to another parent or
// place, destroyed, hidden, disabled, given other ids, the coordinate panel
// re-created, dialogs opening and closing); after each change the poll over
// the kept walks reads what a full walk reads. WHEELPAD_KEPT_WALK_ROUNDS sets
// the rounds per generation (300 by default).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/bridge/poll_reading.h"
#include "tests/support/ncstudio_process.h"

using bridge_tests::Reading;

namespace {

int rounds() {
    const char* set = std::getenv("WHEELPAD_KEPT_WALK_ROUNDS");
    return set && std::atoi(set) > 0 ? std::atoi(set) : 300;
}

class KeptWalkAgainstNcStudio : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { bridge::startUp(); }
    void TearDown() override { bridge::shutDown(); }
};

}  // namespace

TEST_P(KeptWalkAgainstNcStudio, RandomChangesAreReadAsAFullWalkReadsThem) {
    const int generation = GetParam();
    testing_support::NcStudioProcess ncstudio(generation == 1 ? 5 : 8);
    const HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    bridge::SharedBlock& b = bridge::block();
    b.hostWindow = main;
    b.hostGeneration = generation;
    b.jogButtonsReady = 1;

    std::mt19937 random(generation);
    const BYTE knobs[] = {0, 17, 18, 19, 20, 21, 22};
    int differing = 0;
    int shown = 0;
    const int total = rounds();
    for (int round = 0; round < total; ++round) {
        // One to three changes since the last poll.
        std::string changed;
        for (int change = random() % 3; change >= 0; --change) {
            const unsigned seed = random();
            ncstudio.command("change " + std::to_string(seed));
            changed = "changed " + std::to_string(seed) + ":";
            ASSERT_TRUE(ncstudio.waitForLog(changed)) << "round " << round;
        }
        b.axisKnobCode = knobs[random() % 7];
        b.showMachineCoords = random() % 2;

        auto [kept, full] = bridge_tests::pollKeptAndFull(main);
        if (kept == full) continue;
        ++differing;
        if (++shown <= 3) {
            const std::string log = ncstudio.log();
            const size_t at = log.find(changed);
            ADD_FAILURE() << "round " << round << ", last " << log.substr(at, log.find('\n', at) - at) << "\n  kept: "
                          << kept << "\n  full: " << full;
        }
    }
    EXPECT_EQ(differing, 0) << "of " << total << " rounds";
    std::cout << "generation " << generation << ": " << differing << " of " << total
              << " rounds read otherwise than a full walk" << std::endl;
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, KeptWalkAgainstNcStudio, ::testing::Values(1, 2));
