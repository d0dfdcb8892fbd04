// The Ctrl chord to NcStudio's main window and the caching of the jog buttons.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"
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
