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
using bridge_tests::Post;
using bridge_tests::postsOf;
using testing_support::BridgeFixture;

class JogRelease : public BridgeFixture {
protected:
    // NcStudio's main window with the manual page, bound, and the jog buttons
    // cached as the Ctrl chord leaves them.
    void SetUp() override {
        BridgeFixture::SetUp();
        main = ncstudio.mainWindow();
        page = manualPageWithButtons(ncstudio, main);
        bindTo(main);
        bridge::postCtrlChord('2');
        restart();
    }

    // Forgets what was posted and slept so far.
    void restart() {
        settle();
        host.clearReceived();
        clock.clearSleeps();
    }

    // A button's release as it reaches the stand-in at `time`.
    Post liftOf(const char* caption, DWORD time) {
        return {childWithText(page, caption), WM_LBUTTONUP, MK_LBUTTON, 0, time};
    }

    std::vector<Post> received() {
        settle();
        return postsOf(host.received());
    }

    HWND main = nullptr;
    HWND page = nullptr;
};

TEST_F(JogRelease, ReleasesTheHeldAxisPlusThenMinus) {
    const struct {
        int axis;
        const char* plus;
        const char* minus;
    } axes[] = {{18, "Y+", "Y-"}, {17, "X+", "X-"}, {19, "Z+", "Z-"}};
    for (const auto& axis : axes) {
        SCOPED_TRACE(axis.axis);
        restart();
        block().heldJogAxis = axis.axis;
        block().jogIdlePolls = 2;
        DWORD start = clock.now();

        EXPECT_TRUE(bridge::releaseJog());

        EXPECT_EQ(received(), (std::vector<Post>{liftOf(axis.plus, start), liftOf(axis.minus, start)}));
        EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
        EXPECT_EQ(block().releasedJogAxis, axis.axis);
        EXPECT_EQ(block().heldJogAxis, 0);
        EXPECT_EQ(block().jogIdlePolls, 0);
    }
}

TEST_F(JogRelease, NothingToReleaseOrKeyStillHeldPostsNothing) {
    const struct {
        int held;
        BYTE key;
        bool result;
        int polls;
    } cases[] = {
        {0, 0, false, 2},    // nothing held
        {18, 12, false, 0},  // a continuous jog key is still down
        {18, 8, false, 0},
        {20, 0, true, 2},  // not an axis: true, nothing changes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "held " << c.held << " key " << int(c.key));
        block().heldJogAxis = c.held;
        block().lastJogKey = c.key;
        block().jogIdlePolls = 2;
        block().releasedJogAxis = 0;

        EXPECT_EQ(bridge::releaseJog(), c.result);

        EXPECT_TRUE(received().empty());
        EXPECT_TRUE(clock.sleeps().empty());
        EXPECT_EQ(block().jogIdlePolls, c.polls);
        EXPECT_EQ(block().heldJogAxis, c.held);
        EXPECT_EQ(block().releasedJogAxis, 0);
    }
}

TEST_F(JogRelease, UncachedButtonsReceiveNothingNotEvenInTheCallersQueue) {
    for (HWND& button : block().jogButtons) button = nullptr;
    ownQueueHolds(WM_LBUTTONUP, WM_LBUTTONUP);
    block().heldJogAxis = 19;

    EXPECT_TRUE(bridge::releaseJog());

    EXPECT_TRUE(received().empty());
    EXPECT_FALSE(ownQueueHolds(WM_LBUTTONUP, WM_LBUTTONUP));
    EXPECT_EQ(block().releasedJogAxis, 19);
    EXPECT_EQ(block().heldJogAxis, 0);
}

class RunawayJog : public JogRelease {
protected:
    void SetUp() override {
        JogRelease::SetUp();
        block().lastRunState = 1;
        block().hostGeneration = 2;
        block().machineState = 0x11;
    }
};

TEST_F(RunawayJog, NothingReleasedOrNotRunningOnlyForgetsTheReleasedAxis) {
    for (int runState : {1, 0}) {
        SCOPED_TRACE(runState);
        block().releasedJogAxis = runState == 1 ? 0 : 18;
        block().lastRunState = runState;

        bridge::stopRunawayJog();

        EXPECT_TRUE(received().empty());
        EXPECT_TRUE(clock.sleeps().empty());
        EXPECT_EQ(block().releasedJogAxis, 0);
        EXPECT_EQ(block().machineState, 0x11);
    }
}

TEST_F(RunawayJog, RunningStopsTheMachineAndLetsGoOfAReleasedAxisAgain) {
    for (int released : {18, 21}) {
        SCOPED_TRACE(released);
        restart();
        block().releasedJogAxis = released;
        block().machineState = 0x11;
        DWORD start = clock.now();

        bridge::stopRunawayJog();

        std::vector<Post> expected{{main, WM_KEYDOWN, VK_F11, 0, start}, {main, WM_KEYUP, VK_F11, 0, start}};
        if (released == 18) expected.insert(expected.end(), {liftOf("Y+", start + 40), liftOf("Y-", start + 40)});
        EXPECT_EQ(received(), expected);
        EXPECT_EQ(clock.sleeps(), released == 18 ? (std::vector<DWORD>{40, 40}) : std::vector<DWORD>{40});
        EXPECT_EQ(block().machineState, 0x10);
        EXPECT_EQ(block().releasedJogAxis, released) << "checked again on the next poll";
    }
}
