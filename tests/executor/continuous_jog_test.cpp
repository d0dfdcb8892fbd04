// Continuous jog ("&Jog"): a direction button held down while the wheel turns
// or key 8 or 12 is held, let go when the wheel stops, turns back or the axis
// knob moves.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class ContinuousJog : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        block().stepIndex = 0;  // NcStudio shows "&Jog"
    }

    Delivery down(bridge::JogButton which, DWORD time) const {
        return {jogButton(which), WM_LBUTTONDOWN, MK_LBUTTON, time};
    }
    Delivery up(bridge::JogButton which, DWORD time) const { return {jogButton(which), WM_LBUTTONUP, MK_LBUTTON, time}; }
};

TEST_F(ContinuousJog, PressesOnTheFirstCountKeepsItDownAndLetsGoWhenTheWheelStops) {
    DWORD t0 = clock.now();
    event(3, 0, 0, 0, kAxisX);
    event(5, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries().size(), 1u) << "the second count posts nothing";
    event(0, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kXPlus, t0), up(bridge::kXPlus, t0 + 40),
                                                   up(bridge::kXMinus, t0 + 40)}));
    EXPECT_EQ(block().heldJogAxis, 0);
}

TEST_F(ContinuousJog, AReversalLetsGoAndLocksTheWheelOutFor400Ms) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(3, 0, 0, 0, kAxisY), 0);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 0);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kYPlus, t0), up(bridge::kYPlus, t0 + 40),
                                                   up(bridge::kYMinus, t0 + 40)}))
        << "the new direction is not started in the reversing event";
    EXPECT_EQ(block().reverseTick, t0 + 80);

    clock.advance(400);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 1) << "400 ms after the reversal the event still ends early";
    EXPECT_EQ(deliveries().size(), 3u);

    clock.advance(1);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 0);
    auto got = deliveries();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[3], down(bridge::kYMinus, t0 + 481));
    EXPECT_EQ(block().reverseLock, 0);
}

TEST_F(ContinuousJog, ANegativeCountAgainstAHeldJogWithoutDirectionIsAReversal) {
    block().heldJogAxis = kAxisX;
    executor::lastAxisSeen = kAxisX;
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_EQ(host.received(WM_LBUTTONUP).size(), 2u);
    EXPECT_TRUE(host.received(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(block().reverseLock, 1);
}

TEST_F(ContinuousJog, TurningTheAxisKnobFromXToYLetsGoOfXFirst) {
    DWORD t0 = clock.now();
    event(3, 0, 0, 0, kAxisX);
    event(3, 0, 0, 0, kAxisY);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kXPlus, t0), up(bridge::kXPlus, t0 + 40),
                                                   up(bridge::kXMinus, t0 + 40), down(bridge::kYPlus, t0 + 80)}));
}

TEST_F(ContinuousJog, Key12HeldStaysDownThroughTheStatusPollsAndEndsWithTheKey) {
    DWORD t0 = clock.now();
    event(0, 12, 0, 0, kAxisX);
    // The status poller, with a step clicked just now so that it counts its
    // polls as idle ones.
    block().stepClickTick = clock.now();
    for (int poll = 0; poll < 3; ++poll) GetMaState(nullptr);
    settle();
    event(0, 12, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kXPlus, t0)}))
        << "still held after the third poll and a further key report";

    DWORD released = clock.now();
    event(0, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kXPlus, t0), up(bridge::kXPlus, released),
                                                   up(bridge::kXMinus, released)}));
}

TEST_F(ContinuousJog, Key8AfterTheWheelLetsGoOfTheWheelsJogAndJogsNegative) {
    DWORD t0 = clock.now();
    event(3, 0, 0, 0, kAxisZ);
    event(0, 8, 0, 0, kAxisZ);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{down(bridge::kZPlus, t0), up(bridge::kZPlus, t0 + 40),
                                                   up(bridge::kZMinus, t0 + 40), down(bridge::kZMinus, t0 + 80)}));
    EXPECT_EQ(block().reverseLock, 0) << "a new key is not a reversal";
}

TEST_F(ContinuousJog, MissingButtonsAreSearchedAgainAndALockedJogOnlyPreparesThem) {
    block().jogButtons[bridge::kZPlus] = nullptr;
    block().jogLocked = 1;
    DWORD t0 = clock.now();
    event(1, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{main, WM_KEYDOWN, '2', t0}, {main, WM_KEYUP, '2', t0 + 40}}));
    EXPECT_NE(block().jogButtons[bridge::kZPlus], nullptr) << "found again";
    EXPECT_EQ(block().heldJogAxis, 0);
}
