// Stopping the machine with the host generation's command, and posting a key.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::ownQueueHolds;
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

    std::vector<standin::Received> received() {
        settle();
        return host.received();
    }

    HWND main = nullptr;
};

TEST_F(StopMachine, GenerationTwoPostsF11DownAndUpToTheMainWindow) {
    build(2);
    ncstudio.controlBar(main);
    host.clearReceived();
    DWORD start = clock.now();

    bridge::stopMachine();

    auto messages = received();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_KEYUP));
    for (const auto& m : messages) {
        EXPECT_EQ(m.window, main);
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_F11));
        EXPECT_EQ(m.lParam, 0);
        EXPECT_EQ(m.time, start);
    }
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().machineState, 0x24);
    EXPECT_EQ(block().jogButtonsReady, 1) << "generation 2 keeps the jog buttons";
}

TEST_F(StopMachine, GenerationOnePostsTheStopCommandToTheControlBar) {
    build(1);
    HWND bar = ncstudio.controlBar(main);
    ncstudio.controlBar(main);  // a second bar is never looked at
    host.clearReceived();
    DWORD start = clock.now();

    bridge::stopMachine();

    auto messages = received();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].window, bar);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(messages[0].wParam, 32829u);
    EXPECT_EQ(messages[0].lParam, 32829);
    EXPECT_EQ(messages[0].time, start);
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().machineState, 0x24);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(StopMachine, GenerationOneUsesTheStoredStopCommandId) {
    build(1);
    HWND bar = ncstudio.controlBar(main);
    host.clearReceived();
    block().stopCommandId = 32830;

    bridge::stopMachine();

    auto messages = received();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].window, bar);
    EXPECT_EQ(messages[0].wParam, 32830u);
    EXPECT_EQ(messages[0].lParam, 32830);
}

TEST_F(StopMachine, GenerationOneWithoutControlBarPostsNothingButMarksIdle) {
    build(1);
    host.clearReceived();

    bridge::stopMachine();

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().machineState, 0x24);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(StopMachine, GenerationOneControlBarWithoutToolbarGetsNothing) {
    build(1);
    ncstudio.controlBar(main, false);
    ncstudio.controlBar(main);  // only the first control bar counts
    host.clearReceived();

    bridge::stopMachine();

    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().machineState, 0x24);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(StopMachine, ControlBarIsFoundPastChildrenOfOtherClasses) {
    build(1);
    ncstudio.label(main, "Ready");
    ncstudio.child(main, {"ToolbarWindow32", "", 0, 0});  // a toolbar outside any control bar
    HWND bar = ncstudio.controlBar(main);
    host.clearReceived();

    bridge::stopMachine();

    auto messages = received();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].window, bar);
}

TEST_F(StopMachine, GenerationTwoWithoutMainWindowPostsNothingAnywhere) {
    build(2);
    bindTo(nullptr);
    ownQueueHolds(WM_KEYDOWN, WM_KEYUP);

    bridge::stopMachine();

    EXPECT_TRUE(received().empty());
    EXPECT_FALSE(ownQueueHolds(WM_KEYDOWN, WM_KEYUP));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>{40});
    EXPECT_EQ(block().machineState, 0x24);
}

TEST_F(StopMachine, PostKeySendsDownAndUpWithoutWaiting) {
    build(2);
    host.clearReceived();

    bridge::postKey(main, VK_F9);

    auto messages = received();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_KEYUP));
    for (const auto& m : messages) {
        EXPECT_EQ(m.window, main);
        EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_F9));
        EXPECT_EQ(m.lParam, 0);
    }
    EXPECT_TRUE(clock.sleeps().empty());
}
