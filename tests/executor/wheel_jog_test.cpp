// Jogging with the wheel and keys 8 and 12: in continuous mode ("&Jog") a
// direction button held down and let go again; in a step mode, or in
// NcStudio's "Jiggle" window, one click per event.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using namespace executor_testing;
using bridge::JogButton;

class WheelJog : public ExecutorFixture {
protected:
    void SetUp() override {
        ExecutorFixture::SetUp();
        block().stepIndex = 0;  // NcStudio shows "&Jog"
    }
};

struct JogEvent {
    int wheel;
    BYTE key, rateKnob, axisKnob;
};

// Event sequences that press a button, let it go 40 ms later and may press
// another one (kJogButtonCount: none) 40 ms after that.
struct HeldJogCase {
    const char* what;
    std::vector<JogEvent> events;
    JogButton pressed, pressedNext;
};

void PrintTo(const HeldJogCase& c, std::ostream* out) { *out << c.what; }

class HeldJog : public WheelJog, public testing::WithParamInterface<HeldJogCase> {};

TEST_P(HeldJog, IsLetGoBeforeAnythingElse) {
    const HeldJogCase& c = GetParam();
    DWORD t0 = clock.now();
    for (const JogEvent& e : c.events) EXPECT_EQ(event(e.wheel, e.key, 0, e.rateKnob, e.axisKnob), 0);
    Deliveries expected = Deliveries{press(c.pressed, t0)} + letGo(c.pressed, t0 + 40);
    if (c.pressedNext != bridge::kJogButtonCount) expected.push_back(press(c.pressedNext, t0 + 80));
    EXPECT_EQ(deliveries(), expected);
    EXPECT_EQ(block().heldJogAxis != 0, c.pressedNext != bridge::kJogButtonCount);
    EXPECT_EQ(block().reverseLock, 0) << "not a reversal";
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, HeldJog,
    testing::Values(
        HeldJogCase{"+3, +5, 0 on X: the second count posts nothing",
                    {{3, 0, 0, kAxisX}, {5, 0, 0, kAxisX}, {0, 0, 0, kAxisX}}, bridge::kXPlus, bridge::kJogButtonCount},
        HeldJogCase{"the axis knob turned from X to Y", {{3, 0, 0, kAxisX}, {3, 0, 0, kAxisY}}, bridge::kXPlus,
                    bridge::kYPlus},
        HeldJogCase{"key 8 after the wheel", {{3, 0, 0, kAxisZ}, {0, 8, 0, kAxisZ}}, bridge::kZPlus,
                    bridge::kZMinus},
        HeldJogCase{"the rate knob applied while the wheel turns", {{1, 0, 0, kAxisX}, {1, 0, 26, kAxisX}},
                    bridge::kXPlus, bridge::kXPlus}));

TEST_F(WheelJog, AReversalLetsGoAndLocksTheWheelOutFor400Ms) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(3, 0, 0, 0, kAxisY), 0);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 0);
    EXPECT_EQ(deliveries(), Deliveries{press(bridge::kYPlus, t0)} + letGo(bridge::kYPlus, t0 + 40))
        << "the new direction is not started in the reversing event";
    EXPECT_EQ(block().reverseTick, t0 + 80);

    clock.advance(400);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 1) << "400 ms after the reversal the event still ends early";
    clock.advance(1);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisY), 0);
    EXPECT_EQ(deliveries().size(), 4u);
    EXPECT_EQ(deliveries().back(), press(bridge::kYMinus, t0 + 481));
    EXPECT_EQ(block().reverseLock, 0);
}

TEST_F(WheelJog, ANegativeCountAgainstAHeldJogWithoutDirectionIsAReversal) {
    block().heldJogAxis = kAxisX;
    executor::lastAxisSeen = kAxisX;
    DWORD t0 = clock.now();
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), letGo(bridge::kXPlus, t0));
    EXPECT_EQ(block().reverseLock, 1);
}

TEST_F(WheelJog, Key12HeldStaysDownThroughTheThirdStatusPollAndEndsWithTheKey) {
    DWORD t0 = clock.now();
    event(0, 12, 0, 0, kAxisX);
    // The status poller, with a step clicked just now so that it counts its
    // polls as idle ones.
    block().stepClickTick = clock.now();
    for (int poll = 0; poll < 3; ++poll) GetMaState(nullptr);
    settle();
    event(0, 12, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), Deliveries{press(bridge::kXPlus, t0)}) << "still held after the third poll";

    DWORD released = clock.now();
    event(0, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), Deliveries{press(bridge::kXPlus, t0)} + letGo(bridge::kXPlus, released));
}

TEST_F(WheelJog, MissingButtonsAreSearchedAgainAndALockedJogOnlyPreparesThem) {
    block().jogButtons[bridge::kZPlus] = nullptr;
    block().jogLocked = 1;
    DWORD t0 = clock.now();
    event(1, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), keyPress(main, '2', t0, 40));
    EXPECT_NE(jogButton(bridge::kZPlus), nullptr) << "found again";
    EXPECT_EQ(block().heldJogAxis, 0);
}

TEST_F(WheelJog, InGeneration2AWheelCountSelectsTheRateKnobsStepThenClicksOnce) {
    generation2();
    block().lastRateKnob = kRate20Percent;
    block().lastFeedPercent = 20;  // written already: the dialog is not opened
    DWORD t0 = clock.now();
    event(2, 0, 0, kRate20Percent, kAxisX);
    EXPECT_EQ(deliveries(), (Deliveries{click(pageButton("0.1mm"), t0), click(jogButton(bridge::kXPlus), t0 + 40)}));
}

TEST_F(WheelJog, AStepModeClicksOncePerEventWhateverTheCount) {
    block().stepIndex = 3;
    DWORD t0 = clock.now();
    event(100, 0, 0, 0, kAxisZ);
    event(0x200, 0, 0, 0, kAxisZ);  // low byte 0: the wheel is still
    event(0x2FF, 0, 0, 0, kAxisZ);  // low byte 0xFF: -1
    EXPECT_EQ(deliveries(),
              (Deliveries{click(jogButton(bridge::kZPlus), t0), click(jogButton(bridge::kZMinus), t0 + 40)}));
}

TEST_F(WheelJog, TheJiggleWindowsButtonsAreCachedFirstThenClickedEvenInContinuousMode) {
    HWND jiggle = ncstudio.jiggleWindow();
    report(6, 6);
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_TRUE(deliveries().empty()) << "not cached yet: nothing is clicked";
    EXPECT_EQ(block().jiggleWindow, jiggle);

    DWORD t0 = clock.now();
    event(-1, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), Deliveries{click(FindWindowExA(jiggle, nullptr, nullptr, "X-"), t0)});
}
