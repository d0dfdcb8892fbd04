// Caching NcStudio's "Jiggle" window and its jog buttons.
#include <gtest/gtest.h>

#include <cstring>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using testing_support::BridgeFixture;

class JiggleButtons : public BridgeFixture {};

TEST_F(JiggleButtons, CachesTheWindowAndItsSixButtonsWithABufferOfItsOwn) {
    bindTo(ncstudio.mainWindow());
    HWND jiggle = ncstudio.jiggleWindow();
    ncstudio.button(jiggle, "X-");  // after the sixth match: never looked at
    std::strcpy(bridge::textBuffer(), "kept");

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleWindow, jiggle);
    bridge_tests::expectJogCache(block().jiggleButtons, jiggle);
    for (HWND button : block().jogButtons) EXPECT_EQ(button, nullptr) << "the manual page's cache is apart";
    EXPECT_STREQ(bridge::textBuffer(), "kept");
    EXPECT_TRUE(clock.sleeps().empty());
    settle();
    EXPECT_TRUE(host.received().empty());
}

TEST_F(JiggleButtons, LaterMatchOverwritesWhileFewerThanSixMatched) {
    bindTo(ncstudio.mainWindow());
    HWND jiggle = ncstudio.topLevel("#32770", "Jiggle");
    ncstudio.label(jiggle, "X+");  // not a button
    ncstudio.button(jiggle, "X+");
    HWND secondXPlus = ncstudio.button(jiggle, "Fast X+");
    ncstudio.button(jiggle, "");

    bridge::cacheJiggleButtons();

    EXPECT_EQ(block().jiggleButtons[bridge::kXPlus], secondXPlus);
    EXPECT_EQ(block().jiggleButtons[bridge::kXMinus], nullptr);
}
