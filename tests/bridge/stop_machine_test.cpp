// Stopping the machine with the host generation's command, and posting a key.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::ownQueueHolds;
using bridge_tests::Post;
using bridge_tests::postsOf;
using testing_support::BridgeFixture;

class StopMachine : public BridgeFixture {
protected:
    // NcStudio's main window, bound, with its frame (another class) before
    // whatever control bars the test adds.
    void build(int generation) {
        main = ncstudio.mainWindow();
        ncstudio.coordinatePanel(main);
        bindTo(main);
        block().hostGeneration = generation;
        block().machineState = 0x27;  // run state 3 with other bits set
        block().jogButtonsReady = 1;
    }

    // Stops the machine; what reached the stand-in. The run state is idle
    // afterwards whatever was posted.
    std::vector<Post> stop() {
        host.clearReceived();
        bridge::stopMachine();
        settle();
        EXPECT_EQ(block().machineState, 0x24);
        return postsOf(host.received());
    }

    HWND main = nullptr;
};

TEST_F(StopMachine, GenerationTwoPostsF11DownAndUpToTheMainWindow) {
    build(2);
    ncstudio.controlBar(main);
    DWORD start = clock.now();

    EXPECT_EQ(stop(), (std::vector<Post>{{main, WM_KEYDOWN, VK_F11, 0, start}, {main, WM_KEYUP, VK_F11, 0, start}}));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().jogButtonsReady, 1) << "generation 2 keeps the jog buttons";
}

TEST_F(StopMachine, GenerationOnePostsTheStoredStopCommandToTheFirstControlBar) {
    build(1);
    ncstudio.label(main, "Ready");
    ncstudio.child(main, {"ToolbarWindow32", "", 0, 0});  // a toolbar outside any control bar
    HWND bar = ncstudio.controlBar(main);
    ncstudio.controlBar(main);  // a second bar is never looked at
    DWORD start = clock.now();

    EXPECT_EQ(stop(), (std::vector<Post>{{bar, WM_COMMAND, 32829, 32829, start}}));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().jogButtonsReady, 0);

    block().stopCommandId = 32830;
    block().machineState = 0x27;
    start = clock.now();
    EXPECT_EQ(stop(), (std::vector<Post>{{bar, WM_COMMAND, 32830, 32830, start}}));
}

TEST_F(StopMachine, GenerationOneWithoutAControlBarAndToolbarPostsNothingButMarksIdle) {
    build(1);
    EXPECT_TRUE(stop().empty());

    ncstudio.controlBar(main, false);
    ncstudio.controlBar(main);  // only the first control bar counts
    block().machineState = 0x27;
    EXPECT_TRUE(stop().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(StopMachine, GenerationTwoWithoutMainWindowPostsNothingAnywhere) {
    build(2);
    bindTo(nullptr);
    ownQueueHolds(WM_KEYDOWN, WM_KEYUP);

    EXPECT_TRUE(stop().empty());
    EXPECT_FALSE(ownQueueHolds(WM_KEYDOWN, WM_KEYUP));
}

TEST_F(StopMachine, PostKeySendsDownAndUpWithoutWaiting) {
    build(2);
    host.clearReceived();
    DWORD start = clock.now();

    bridge::postKey(main, VK_F9);
    settle();

    EXPECT_EQ(postsOf(host.received()),
              (std::vector<Post>{{main, WM_KEYDOWN, VK_F9, 0, start}, {main, WM_KEYUP, VK_F9, 0, start}}));
    EXPECT_TRUE(clock.sleeps().empty());
}
