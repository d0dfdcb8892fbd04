// Caching NcStudio's "Jiggle" window and its jog buttons.
#include <gtest/gtest.h>

#include <cstring>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::childWithText;
using testing_support::BridgeFixture;

class JiggleButtons : public BridgeFixture {};

TEST_F(JiggleButtons, CachesTheWindowAndItsSixButtonsInCacheOrder) {
    HWND main = ncstudio.mainWindow();
    bindTo(main);
    HWND jiggle = ncstudio.jiggleWindow();

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleWindow, jiggle);
    const char* order[] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(block().jiggleButtons[i], childWithText(jiggle, order[i])) << order[i];
    for (HWND button : block().jogButtons) EXPECT_EQ(button, nullptr) << "the manual page's cache is apart";
    EXPECT_TRUE(clock.sleeps().empty());
    settle();
    EXPECT_TRUE(host.received().empty());
}

TEST_F(JiggleButtons, WalkStopsAfterTheSixthMatch) {
    HWND jiggle = ncstudio.jiggleWindow();
    HWND firstXMinus = childWithText(jiggle, "X-");
    ncstudio.button(jiggle, "X-");

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleButtons[bridge::kXMinus], firstXMinus);
}

TEST_F(JiggleButtons, LaterMatchOverwritesWhileFewerThanSixMatched) {
    HWND jiggle = ncstudio.topLevel("#32770", "Jiggle");
    ncstudio.label(jiggle, "X+");  // not a button
    ncstudio.button(jiggle, "X+");
    HWND secondXPlus = ncstudio.button(jiggle, "Fast X+");
    ncstudio.button(jiggle, "");

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleButtons[bridge::kXPlus], secondXPlus);
    EXPECT_EQ(block().jiggleButtons[bridge::kXMinus], nullptr);
}

TEST_F(JiggleButtons, NoJiggleWindowChangesNothing) {
    HWND reported = ncstudio.topLevel("#32770", "Jog");
    ncstudio.button(reported, "X+");
    block().jiggleWindow = reported;
    HWND stale = ncstudio.topLevel("#32770", "stale");
    block().jiggleButtons[bridge::kZMinus] = stale;

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleWindow, reported);
    EXPECT_EQ(block().jiggleButtons[bridge::kZMinus], stale);
    EXPECT_EQ(block().jiggleButtons[bridge::kXPlus], nullptr);
}

TEST_F(JiggleButtons, UsesABufferOfItsOwnNotTheSharedTextBuffer) {
    ncstudio.jiggleWindow();
    std::strcpy(bridge::textBuffer(), "kept");

    bridge::cacheJiggleButtons();

    EXPECT_STREQ(bridge::textBuffer(), "kept");
}
