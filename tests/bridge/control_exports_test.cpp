// The small control exports: binding to NcStudio's main window, the host
// generation, the executor switch, the tool-setter settings and MouseProc.
#include <gtest/gtest.h>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"
#include "tests/support/mutex_holder.h"

using bridge::block;
using bridge_tests::expectJogCache;
using bridge_tests::manualPageWithButtons;
using testing_support::BridgeFixture;

class ControlExports : public BridgeFixture {};

TEST_F(ControlExports, InstallhookBindsPostsTheChordAndCachesTheJogButtons) {
    HWND main = ncstudio.mainWindow();
    HWND page = manualPageWithButtons(ncstudio, main);
    attachToHost();
    host.clearReceived();
    block().jogButtonsReady = 1;
    block().safeHeightKnown = 1;

    EXPECT_EQ(installhook(main), 1);
    settle();

    EXPECT_EQ(block().hostWindow, main);
    EXPECT_EQ(block().jogButtonsReady, 0);
    EXPECT_EQ(block().safeHeightKnown, 0);
    auto keys = host.received(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].window, main);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('2'));
    EXPECT_TRUE(keys[0].controlDown);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    expectJogCache(block().jogButtons, page);
}

TEST_F(ControlExports, RebindingReplacesTheWindowAndTheButtonsAndNeitherItNorUnHookResetsAnythingElse) {
    HWND first = ncstudio.mainWindow();
    manualPageWithButtons(ncstudio, first);
    HWND second = ncstudio.mainWindow("NcStudio V8");
    HWND secondPage = manualPageWithButtons(ncstudio, second);
    ASSERT_EQ(installhook(first), 1);
    block().hostMode = 6;
    block().mapEnabled = 1;
    block().hostGeneration = 2;
    block().stepIndex = 4;

    EXPECT_EQ(installhook(second), 1);
    EXPECT_EQ(UnHook(), 1);

    EXPECT_EQ(block().hostWindow, second);
    expectJogCache(block().jogButtons, secondPage);
    EXPECT_EQ(block().hostMode, 6);
    EXPECT_EQ(block().mapEnabled, 1);
    EXPECT_EQ(block().hostGeneration, 2);
    EXPECT_EQ(block().stepIndex, 4);
}

TEST_F(ControlExports, InstallhookWithAWindowThatIsNotNcStudiosStillBinds) {
    HWND other = ncstudio.topLevel("#32770", "Notepad");
    ncstudio.button(other, "X+");

    EXPECT_EQ(installhook(other), 1);

    EXPECT_EQ(block().hostWindow, other);
    for (HWND button : block().jogButtons) EXPECT_EQ(button, nullptr);
}

TEST_F(ControlExports, CommandIdsHoldTheirValuesFromTheStartAndSetVerRewritesThem) {
    EXPECT_EQ(block().stopCommandId, 32829);
    EXPECT_EQ(block().pauseCommandId, 32821);
    EXPECT_EQ(block().hostGeneration, 1);
    EXPECT_EQ(block().hostWindow, nullptr);
    EXPECT_EQ(block().machineState, 1);
    EXPECT_EQ(block().lastStepCode, 15);
    EXPECT_EQ(block().toolSetterHeight, 34.4);

    for (int flag : {7, 0, -1}) {
        SCOPED_TRACE(flag);
        block().stopCommandId = 1;
        block().pauseCommandId = 2;
        EXPECT_EQ(SetVer(flag), flag);
        EXPECT_EQ(block().hostGeneration, flag ? 2 : 1);
        EXPECT_EQ(block().verArg, flag);
        EXPECT_EQ(block().stopCommandId, 32829);
        EXPECT_EQ(block().pauseCommandId, 32821);
    }
}

TEST_F(ControlExports, SwitchesAndToolSetterSettingsAreStoredAndReturned) {
    for (int on : {1, 0}) {
        SCOPED_TRACE(on);
        block().jogButtonsReady = 1;
        EXPECT_EQ(EnableEdit(on), on);
        EXPECT_EQ(block().jogLocked, on);
        EXPECT_EQ(block().jogButtonsReady, 1) << "EnableEdit leaves the buttons";
        EXPECT_EQ(EnableMap(on), on);
        EXPECT_EQ(block().mapEnabled, on);
        EXPECT_EQ(block().jogButtonsReady, 0) << "EnableMap invalidates the buttons";
    }
    for (double height : {34.4, -12.0625}) {
        int enabled = height > 0;
        EXPECT_EQ(SetKnifHigh(height, enabled), 1);
        EXPECT_EQ(block().toolSetterHeight, height);
        EXPECT_EQ(block().toolSetterEnabled, enabled);
    }
}

TEST_F(ControlExports, MouseProcInvalidatesTheButtonsOnMouseButtonsFromCodeZeroUp) {
    const struct {
        int code;
        UINT message;
        BYTE ready;  // afterwards
    } cases[] = {{0, WM_LBUTTONDOWN, 0}, {0, WM_LBUTTONUP, 0}, {0, WM_RBUTTONDOWN, 0}, {0, WM_RBUTTONUP, 0},
                 {HC_NOREMOVE, WM_LBUTTONDOWN, 0}, {-1, WM_LBUTTONDOWN, 1}, {0, WM_MOUSEMOVE, 1},
                 {0, WM_MBUTTONDOWN, 1}, {0, WM_LBUTTONDBLCLK, 1}, {0, WM_NCLBUTTONDOWN, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " message 0x" << std::hex << c.message);
        block().jogButtonsReady = 1;
        EXPECT_EQ(MouseProc(c.code, c.message, 0), CallNextHookEx(nullptr, c.code, c.message, 0));
        EXPECT_EQ(block().jogButtonsReady, c.ready);
    }
}

TEST_F(ControlExports, OnlyInstallhookWaitsForTheMutex) {
    testing_support::MutexHolder holder;
    HWND window = ncstudio.topLevel("#32770", "BKREF: Back to Mechanical Origin");

    DWORD realStart = GetTickCount();
    EXPECT_EQ(SetVer(1), 1);
    EXPECT_EQ(EnableMap(1), 1);
    EXPECT_EQ(EnableEdit(1), 1);
    EXPECT_EQ(SetKnifHigh(20.5, 1), 1);
    SetPcState(window, 5);
    MouseProc(0, WM_LBUTTONDOWN, 0);
    EXPECT_LT(GetTickCount() - realStart, 400u);

    EXPECT_EQ(block().hostGeneration, 2);
    EXPECT_EQ(block().mapEnabled, 1);
    EXPECT_EQ(block().jogLocked, 1);
    EXPECT_EQ(block().toolSetterHeight, 20.5);
    EXPECT_EQ(block().hostMode, 5);
}
