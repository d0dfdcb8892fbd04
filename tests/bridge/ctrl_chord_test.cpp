// The Ctrl chord to NcStudio's main window and the caching of the jog buttons.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using testing_support::BridgeFixture;

class CtrlChord : public BridgeFixture {};

TEST_F(CtrlChord, PostsKeyDownAndUpFortyMillisecondsApartWithControlHeld) {
    HWND main = ncstudio.mainWindow();
    bindTo(main);
    attachToHost();
    DWORD start = clock.now();
    host.clearReceived();

    bridge::postCtrlChord('2');
    settle();

    auto keys = host.received();
    ASSERT_EQ(keys.size(), 2u);
    LPARAM expected = static_cast<LPARAM>((MapVirtualKeyA('2', 0) << 16) | 0xC0000001u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    for (const auto& key : keys) {
        EXPECT_EQ(key.window, main);
        EXPECT_EQ(key.wParam, static_cast<WPARAM>('2'));
        EXPECT_EQ(key.lParam, expected);
        EXPECT_TRUE(key.controlDown);
    }
    EXPECT_EQ(keys[0].time, start);
    EXPECT_EQ(keys[1].time, start + 40);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0) << "control key state restored";
}

TEST_F(CtrlChord, CachesTheSixJogButtonsOfTheManualPage) {
    HWND main = ncstudio.mainWindow();
    HWND page = ncstudio.manualPage(main);
    ncstudio.label(page, "X-");  // a static of another class before the buttons
    ncstudio.standardManualButtons(page, standin::StepCaptions::Selection, 0);
    bindTo(main);

    bridge::postCtrlChord('2');

    const char* order[] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};
    for (int i = 0; i < 6; ++i) {
        char caption[64] = {};
        GetWindowTextA(block().jogButtons[i], caption, sizeof caption);
        EXPECT_STREQ(caption, order[i]);
        EXPECT_EQ(GetParent(block().jogButtons[i]), page);
    }
}

TEST_F(CtrlChord, SevenMatchesLeaveTheWalkGoingToTheLastButton) {
    HWND main = ncstudio.mainWindow();
    HWND page = ncstudio.manualPage(main);
    ncstudio.label(page, "Manual");
    for (const char* caption : {"X-", "X+", "Y-", "Y+", "Z-", "Z+", "X清零"}) ncstudio.button(page, caption);
    ncstudio.radio(page, "0.01mm", true);
    HWND lateXMinus = ncstudio.button(page, "X-");  // the eighth match, still taken
    bindTo(main);

    bridge::postCtrlChord('2');

    const char* order[] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};
    for (int i = 0; i < 6; ++i) EXPECT_NE(block().jogButtons[i], nullptr) << order[i];
    EXPECT_EQ(block().jogButtons[bridge::kXMinus], lateXMinus);
}

TEST_F(CtrlChord, WalkStopsAfterTheNinthMatch) {
    HWND main = ncstudio.mainWindow();
    HWND page = ncstudio.manualPage(main);
    ncstudio.label(page, "Manual");
    ncstudio.standardManualButtons(page, standin::StepCaptions::Selection, 0);
    HWND firstXMinus = bridge_tests::childWithText(page, "X-");
    ncstudio.button(page, "X-");  // after the ninth match: never looked at
    bindTo(main);

    bridge::postCtrlChord('2');

    EXPECT_EQ(block().jogButtons[bridge::kXMinus], firstXMinus);
}

TEST_F(CtrlChord, FirstDirectionInTestOrderDecidesAndEmptyCaptionsArePassedOver) {
    HWND main = ncstudio.mainWindow();
    HWND page = ncstudio.manualPage(main);
    ncstudio.button(page, "");
    HWND both = ncstudio.button(page, "Z+/X-");  // "X-" is tested before "Z+"
    HWND fast = ncstudio.button(page, "Fast Y+");
    bindTo(main);

    bridge::postCtrlChord('2');

    EXPECT_EQ(block().jogButtons[bridge::kXMinus], both);
    EXPECT_EQ(block().jogButtons[bridge::kZPlus], nullptr);
    EXPECT_EQ(block().jogButtons[bridge::kYPlus], fast);
}

TEST_F(CtrlChord, WithoutManualPageTheChordIsPostedAndTheCacheKept) {
    HWND main = ncstudio.mainWindow();
    HWND elsewhere = ncstudio.topLevel("#32770", "stale");
    block().jogButtons[bridge::kYMinus] = elsewhere;
    bindTo(main);
    host.clearReceived();

    bridge::postCtrlChord('2');
    settle();

    EXPECT_EQ(host.received().size(), 2u);
    EXPECT_EQ(block().jogButtons[bridge::kYMinus], elsewhere);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
}

TEST_F(CtrlChord, WithoutMainWindowNothingIsPostedAnywhere) {
    bridge_tests::ownQueueHolds(WM_KEYDOWN, WM_KEYUP);

    bridge::postCtrlChord('2');

    EXPECT_FALSE(bridge_tests::ownQueueHolds(WM_KEYDOWN, WM_KEYUP))
        << "PostMessageA to the handle 0 would land in this thread's queue";
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
}
