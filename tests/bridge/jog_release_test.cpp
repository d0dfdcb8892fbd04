// Letting go of a held continuous jog, and stopping a jog that NcStudio keeps
// running after it was let go.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::childWithText;
using bridge_tests::manualPageWithButtons;
using bridge_tests::ownQueueHolds;
using testing_support::BridgeFixture;

class JogRelease : public BridgeFixture {
protected:
    // NcStudio's main window with the manual page, bound, and the jog buttons
    // cached as the Ctrl chord leaves them.
    void build() {
        main = ncstudio.mainWindow();
        page = manualPageWithButtons(ncstudio, main);
        bindTo(main);
        bridge::postCtrlChord('2');
        settle();
        host.clearReceived();
        clock.clearSleeps();
    }

    HWND button(const char* caption) { return childWithText(page, caption); }

    std::vector<standin::Received> received() {
        settle();
        return host.received();
    }

    HWND main = nullptr;
    HWND page = nullptr;
};

TEST_F(JogRelease, ReleasesTheHeldAxisPlusThenMinus) {
    build();
    block().heldJogAxis = 18;
    block().jogIdlePolls = 2;
    DWORD start = clock.now();

    EXPECT_TRUE(bridge::releaseJog());

    auto messages = received();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].window, button("Y+"));
    EXPECT_EQ(messages[1].window, button("Y-"));
    for (const auto& m : messages) {
        EXPECT_EQ(m.message, static_cast<UINT>(WM_LBUTTONUP));
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(m.lParam, 0);
        EXPECT_EQ(m.time, start);
    }
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().releasedJogAxis, 18);
    EXPECT_EQ(block().heldJogAxis, 0);
    EXPECT_EQ(block().jogIdlePolls, 0);
}

TEST_F(JogRelease, ReleasesXAndZOnTheirOwnButtons) {
    build();
    const struct {
        int axis;
        const char* plus;
        const char* minus;
    } axes[] = {{17, "X+", "X-"}, {19, "Z+", "Z-"}};
    for (const auto& axis : axes) {
        host.clearReceived();
        block().heldJogAxis = axis.axis;

        EXPECT_TRUE(bridge::releaseJog());

        auto messages = received();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].window, button(axis.plus));
        EXPECT_EQ(messages[1].window, button(axis.minus));
        EXPECT_EQ(block().releasedJogAxis, axis.axis);
    }
}

TEST_F(JogRelease, NothingHeldReturnsFalseAndChangesNothing) {
    build();
    block().jogIdlePolls = 2;
    block().releasedJogAxis = 17;

    EXPECT_FALSE(bridge::releaseJog());

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().jogIdlePolls, 2);
    EXPECT_EQ(block().releasedJogAxis, 17);
}

TEST_F(JogRelease, HeldContinuousJogKeyKeepsTheButtonDown) {
    build();
    for (BYTE key : {BYTE(12), BYTE(8)}) {
        block().lastJogKey = key;
        block().heldJogAxis = 18;
        block().jogIdlePolls = 2;

        EXPECT_FALSE(bridge::releaseJog()) << "key " << int(key);

        EXPECT_TRUE(received().empty());
        EXPECT_TRUE(clock.sleeps().empty());
        EXPECT_EQ(block().jogIdlePolls, 0);
        EXPECT_EQ(block().heldJogAxis, 18);
        EXPECT_EQ(block().releasedJogAxis, 0);
    }
}

TEST_F(JogRelease, OtherHeldValueReturnsTrueAndChangesNothing) {
    build();
    block().heldJogAxis = 20;
    block().jogIdlePolls = 2;

    EXPECT_TRUE(bridge::releaseJog());

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().heldJogAxis, 20);
    EXPECT_EQ(block().jogIdlePolls, 2);
    EXPECT_EQ(block().releasedJogAxis, 0);
}

TEST_F(JogRelease, UncachedButtonsReceiveNothingNotEvenInTheCallersQueue) {
    HWND bare = ncstudio.mainWindow();
    bindTo(bare);
    ownQueueHolds(WM_LBUTTONUP, WM_LBUTTONUP);
    block().heldJogAxis = 19;

    EXPECT_TRUE(bridge::releaseJog());

    EXPECT_TRUE(received().empty());
    EXPECT_FALSE(ownQueueHolds(WM_LBUTTONUP, WM_LBUTTONUP));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().releasedJogAxis, 19);
    EXPECT_EQ(block().heldJogAxis, 0);
}

class RunawayJog : public JogRelease {};

TEST_F(RunawayJog, NothingReleasedDoesNothing) {
    build();
    block().lastRunState = 1;
    block().hostGeneration = 2;
    block().machineState = 3;

    bridge::stopRunawayJog();

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().machineState, 3);
}

TEST_F(RunawayJog, MachineNotRunningOnlyForgetsTheReleasedAxis) {
    build();
    block().releasedJogAxis = 18;
    block().lastRunState = 0;
    block().hostGeneration = 2;
    block().machineState = 3;

    bridge::stopRunawayJog();

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().releasedJogAxis, 0);
    EXPECT_EQ(block().machineState, 3);
}

TEST_F(RunawayJog, RunningInGenerationTwoStopsWithF11AndLetsGoAgain) {
    build();
    block().releasedJogAxis = 18;
    block().lastRunState = 1;
    block().hostGeneration = 2;
    block().machineState = 0x11;
    DWORD start = clock.now();

    bridge::stopRunawayJog();

    auto messages = received();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_KEYUP));
    for (int i : {0, 1}) {
        EXPECT_EQ(messages[i].window, main);
        EXPECT_EQ(messages[i].wParam, static_cast<WPARAM>(VK_F11));
        EXPECT_EQ(messages[i].time, start);
    }
    EXPECT_EQ(messages[2].window, button("Y+"));
    EXPECT_EQ(messages[3].window, button("Y-"));
    for (int i : {2, 3}) {
        EXPECT_EQ(messages[i].message, static_cast<UINT>(WM_LBUTTONUP));
        EXPECT_EQ(messages[i].wParam, static_cast<WPARAM>(MK_LBUTTON));
        EXPECT_EQ(messages[i].lParam, 0);
        EXPECT_EQ(messages[i].time, start + 40);
    }
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
    EXPECT_EQ(block().machineState, 0x10);
    EXPECT_EQ(block().releasedJogAxis, 18) << "checked again on the next poll";
}

TEST_F(RunawayJog, RunningInGenerationOneStopsThroughTheToolbar) {
    build();
    HWND bar = ncstudio.controlBar(main);
    host.clearReceived();
    block().releasedJogAxis = 17;
    block().lastRunState = 1;
    block().hostGeneration = 1;
    block().jogButtonsReady = 1;
    DWORD start = clock.now();

    bridge::stopRunawayJog();

    auto messages = received();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].window, bar);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(messages[0].wParam, 32829u);
    EXPECT_EQ(messages[0].lParam, 32829);
    EXPECT_EQ(messages[0].time, start);
    EXPECT_EQ(messages[1].window, button("X+"));
    EXPECT_EQ(messages[2].window, button("X-"));
    EXPECT_EQ(messages[2].time, start + 40);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
    EXPECT_EQ(block().jogButtonsReady, 0);
    EXPECT_EQ(block().releasedJogAxis, 17);
}

TEST_F(RunawayJog, ReleasedValueOutsideTheAxesOnlyStops) {
    build();
    block().releasedJogAxis = 21;
    block().lastRunState = 1;
    block().hostGeneration = 2;

    bridge::stopRunawayJog();

    auto messages = received();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(VK_F11));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().releasedJogAxis, 21);
}
