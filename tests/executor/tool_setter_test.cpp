// Key 6 and the tool setter's signals 49, 50 and 51: the measurement with its
// Z- clicks and twentieth contact, the retract, the step restore by the status
// poller, the wheel blocked by signal 50, the timed press without the tool
// setter, and the release that stands for a lost link.
#include <gtest/gtest.h>

#include "bridge/release_only_event.h"
#include "work_coordinate_fixture.h"

using namespace executor_testing;

namespace {

constexpr int kReleaseOnly = bridge_abi::kReleaseOnlyWheelDelta;

class ToolSetter : public WorkCoordinateFixture {
protected:
    void SetUp() override {
        WorkCoordinateFixture::SetUp();
        block().stepIndex = 5;  // 1 mm
    }

    void signals(int count, BYTE signal) {
        for (int i = 0; i < count; ++i) EXPECT_EQ(event(0, signal), 1);
    }

    int clicksOn(HWND button) const {
        int clicks = 0;
        for (const Delivery& d : deliveries()) clicks += std::get<0>(d) == button && std::get<1>(d) == BM_CLICK;
        return clicks;
    }
};

}  // namespace

// Key 6 caches the jog buttons; the first 49 selects 0.1 mm, the next clicks
// Z-; a 49 amid the contacts starts the count again. The twentieth contact
// sets Z to the tool-setter height (generation 2: machine Z -50, public
// offset 0, height 34.4); no Z- after it. A later key 7 still uses the safe
// height.
TEST_F(ToolSetter, TheTwentiethContactSetsZToTheToolSetterHeight) {
    coordinates(2, {"0.000", "0.000", "3.000"}, {"0.000", "0.000", "-50.000"}, {0, 0, 0});
    block().safeHeightKnown = 1;
    block().zBase = 11.0;
    SetKnifHigh(34.4, 1);
    event(0, 6);
    EXPECT_EQ(block().savedStepIndex, 5);
    signals(2, 49);
    EXPECT_EQ(clicksOn(pageButton("0.1mm")), 1);
    EXPECT_EQ(clicksOn(jogButton(bridge::kZMinus)), 1);
    signals(10, 51);
    signals(1, 49);
    signals(19, 51);
    EXPECT_EQ(dialogs->opened(), 0);
    forgetHistory();
    signals(1, 51);
    EXPECT_EQ(confirmed()[5], "-84.4000");
    EXPECT_EQ(shown(2), "34.400");
    EXPECT_EQ(block().toolSetActive, 0);
    EXPECT_EQ(block().probeCount, 20);

    signals(1, 49);
    signals(1, 50);
    EXPECT_EQ(clicksOn(jogButton(bridge::kZMinus)), 0);
    EXPECT_EQ(event(0, 7, 0, 0, kAxisZ), 1);
    EXPECT_EQ(confirmed()[5], "-61.0000") << "Z = safe height 11, not the tool-setter height";
}

// The first signal selects 10 mm, the next ten count 19 down to 10 and the
// tenth clicks Z+; at 0 the status poller selects the saved step again.
TEST_F(ToolSetter, AfterTheMeasurementSignalsRetractAndThePollerRestoresTheStep) {
    block().probeCount = 20;
    block().savedStepIndex = 3;
    block().restoreStepPending = 1;
    DWORD t0 = clock.now();
    signals(1, 50);
    EXPECT_EQ(deliveries(), Deliveries{click(pageButton("10mm"), t0)});
    forgetHistory();
    for (BYTE signal : {49, 50, 51, 49, 50, 51, 49, 50, 51}) signals(1, signal);
    EXPECT_EQ(block().probeCount, 11);
    EXPECT_TRUE(deliveries().empty());
    signals(1, 51);
    EXPECT_EQ(deliveries(), Deliveries{click(jogButton(bridge::kZPlus), clock.now() - 40)});
    signals(9, 49);
    GetMaState(nullptr);
    EXPECT_EQ(block().restoreStepPending, 1) << "not before the count is down";
    signals(1, 49);
    forgetHistory();
    GetMaState(nullptr);
    settle();
    EXPECT_EQ(deliveries(), Deliveries{click(pageButton("0.1mm"), clock.now() - 40)});
    EXPECT_EQ(block().restoreStepPending, 0);
}

// Signal 50 outside a measurement selects 0.01 mm and blocks the wheel until
// the next 49 or 50.
TEST_F(ToolSetter, Signal50BlocksTheWheelUntilTheNextApproachSignal) {
    DWORD t0 = clock.now();
    EXPECT_EQ(event(3, 50, 0, 0, kAxisX), 1);
    EXPECT_EQ(event(3, 0, 0, 0, kAxisX), 0);
    EXPECT_EQ(event(-2, 0, 0, 0, kAxisX), 0);
    EXPECT_EQ(deliveries(), Deliveries{click(pageButton("0.01mm"), t0)});
    event(0, 49);
    event(1, 0, 0, 0, kAxisX);
    EXPECT_EQ(clicksOn(jogButton(bridge::kXPlus)), 1);
}

// With manual jogging impossible a contact outside a measurement posts F2
// once more than 400 ms have passed since the last approach signal.
TEST_F(ToolSetter, AContactWhileManualJoggingIsImpossiblePausesAfter400Ms) {
    event(0, 49);
    ncstudio.setEnabled(pageButton("0.01mm"), false);
    clock.advance(400);
    signals(1, 51);
    EXPECT_TRUE(deliveries().empty());
    clock.advance(1);
    DWORD t0 = clock.now();
    signals(1, 51);
    EXPECT_EQ(deliveries(), keyPress(main, VK_F2, t0));
}

// Without the tool setter, reports at press and release only, or repeated
// every 100 ms while the key is held.
TEST_F(ToolSetter, Key6HeldOver2000MsPostsShiftF7AndAShortPressCtrlF7) {
    struct Case {
        const char* what;
        DWORD held, repeatEvery;
        BYTE modifier;
    };
    for (const Case& c : {Case{"long", 2500, 0, VK_SHIFT}, Case{"long, repeated", 2500, 100, VK_SHIFT},
                          Case{"short", 2000, 0, VK_CONTROL}}) {
        SCOPED_TRACE(c.what);
        block().machineState = 0;
        report(0, 0);
        forgetHistory();
        std::vector<bool> modifierDown;
        clock.onSleep([&] {
            settle();
            modifierDown.push_back((GetKeyState(c.modifier) & 0x8000) != 0);
        });
        const DWORD pressed = clock.now();
        event(0, 6);
        while (c.repeatEvery && clock.now() + c.repeatEvery < pressed + c.held) {
            clock.advance(c.repeatEvery);
            event(0, 6);
        }
        clock.advance(pressed + c.held - clock.now());
        DWORD released = clock.now();
        event(0, 0);
        clock.onSleep([this] { host.sync(); });
        EXPECT_EQ(deliveries(), keyPress(main, VK_F7, released, 100));
        EXPECT_EQ(modifierDown, (std::vector<bool>{true, true}));
        const bool shortPress = c.modifier == VK_CONTROL;
        EXPECT_EQ(block().toolChangeArmed, shortPress ? 0 : 1);
        EXPECT_EQ(block().hostMode, shortPress ? 2 : 0);
        EXPECT_EQ(block().machineState & 3, shortPress ? 1 : 0);
    }
}

// A lost link while key 6 is held: neither now nor at the first report after
// the link is back is Ctrl+F7 or Shift+F7 posted. A held jog is let go.
TEST_F(ToolSetter, AReleaseForALostLinkFinishesNoKey6Press) {
    event(0, 6);
    clock.advance(2500);
    EXPECT_EQ(event(kReleaseOnly, 0), 0);
    clock.advance(10000);
    event(0, 0);
    EXPECT_TRUE(deliveries().empty());

    block().stepIndex = 0;
    event(0, 12, 0, 0, kAxisX);
    DWORD t0 = clock.now();
    event(kReleaseOnly, 0, 0, 0, kAxisX);
    EXPECT_EQ(deliveries(), Deliveries{press(bridge::kXPlus, t0 - 40)} + letGo(bridge::kXPlus, t0));
}

// On a running machine the toolbar's pause command and F2; on a pausing one
// in the calibration mode, F9.
TEST_F(ToolSetter, Key6PausesARunningProgramAndResumesAPausedCalibration) {
    HWND bar = ncstudio.controlBar(main);
    block().machineState = 1;
    DWORD t0 = clock.now();
    event(0, 6);
    EXPECT_EQ(deliveries(), (Deliveries{{bar, WM_COMMAND, 32821, t0}} + keyPress(main, VK_F2, t0 + 40)));
    EXPECT_EQ(host.received(WM_COMMAND)[0].lParam, 32821);
    EXPECT_EQ(block().machineState & 3, 2);
    report(2, 2);
    release();
    forgetHistory();
    t0 = clock.now();
    event(0, 6);
    EXPECT_EQ(deliveries(), keyPress(main, VK_F9, t0));
    EXPECT_EQ(block().machineState & 3, 1);
}
