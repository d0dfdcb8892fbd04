// The Ctrl chord to NcStudio's main window and the caching of the jog buttons.
#include <gtest/gtest.h>

#include <vector>

#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::ownQueueHolds;
using bridge_tests::Post;
using bridge_tests::postsOf;
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

    LPARAM lParam = static_cast<LPARAM>((MapVirtualKeyA('2', 0) << 16) | 0xC0000001u);
    EXPECT_EQ(postsOf(host.received()),
              (std::vector<Post>{{main, WM_KEYDOWN, '2', lParam, start}, {main, WM_KEYUP, '2', lParam, start + 40}}));
    for (const auto& key : host.received()) EXPECT_TRUE(key.controlDown);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0) << "control key state restored";
}

TEST_F(CtrlChord, WalkTakesTheFirstDirectionInTestOrderAndStopsAfterNineMatches) {
    // The buttons of the manual page after a static "X-", and which of them
    // the cache holds in cache order (-1: none).
    const struct {
        std::vector<const char*> captions;
        int cached[6];
    } cases[] = {
        {{"X-", "X+", "Y-", "Y+", "Z-", "Z+", "X清零", "0.01mm", "X-"}, {2, 3, 8, 1, 4, 5}},  // seven matches
        {{"X-", "X+", "Y-", "Y+", "Z-", "Z+", "X清零", "Y清零", "Z清零", "X-"}, {2, 3, 0, 1, 4, 5}},
        {{"", "Z+/X-", "Fast Y+"}, {-1, 2, 1, -1, -1, -1}},  // "X-" is tested before "Z+"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.captions.size());
        HWND main = ncstudio.mainWindow();
        HWND page = ncstudio.manualPage(main);
        ncstudio.label(page, "X-");
        std::vector<HWND> buttons;
        for (const char* caption : c.captions) buttons.push_back(ncstudio.button(page, caption));
        bindTo(main);
        for (HWND& button : block().jogButtons) button = nullptr;

        bridge::postCtrlChord('2');

        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(block().jogButtons[i], c.cached[i] < 0 ? nullptr : buttons[c.cached[i]])
                << bridge_tests::kJogCacheOrder[i];
    }
}

TEST_F(CtrlChord, WithoutManualPageOrMainWindowTheCacheIsKeptAndNothingElseIsPosted) {
    HWND main = ncstudio.mainWindow();
    HWND elsewhere = ncstudio.topLevel("#32770", "stale");
    block().jogButtons[bridge::kYMinus] = elsewhere;
    bindTo(main);
    host.clearReceived();

    bridge::postCtrlChord('2');
    settle();
    EXPECT_EQ(host.received().size(), 2u) << "the chord still goes to the main window";

    bindTo(nullptr);
    ownQueueHolds(WM_KEYDOWN, WM_KEYUP);
    bridge::postCtrlChord('2');
    EXPECT_FALSE(ownQueueHolds(WM_KEYDOWN, WM_KEYUP)) << "a post to the handle 0 lands in this thread's queue";

    EXPECT_EQ(block().jogButtons[bridge::kYMinus], elsewhere);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40, 40, 40, 40}));
    EXPECT_EQ(GetKeyState(VK_CONTROL) & 0x8000, 0);
}
