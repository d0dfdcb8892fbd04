// The small control exports: binding to NcStudio's main window, the host
// generation, the executor switch, the tool-setter settings and MouseProc.
#include <gtest/gtest.h>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"
#include "tests/support/mutex_holder.h"

using bridge::block;
using bridge_tests::childWithText;
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
    DWORD start = clock.now();

    EXPECT_EQ(installhook(main), 1);
    settle();

    EXPECT_EQ(block().hostWindow, main);
    EXPECT_EQ(block().jogButtonsReady, 0);
    EXPECT_EQ(block().safeHeightKnown, 0);
    auto keys = host.received();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
    for (const auto& key : keys) {
        EXPECT_EQ(key.window, main);
        EXPECT_EQ(key.wParam, static_cast<WPARAM>('2'));
        EXPECT_TRUE(key.controlDown);
    }
    EXPECT_EQ(keys[0].time, start);
    EXPECT_EQ(keys[1].time, start + 40);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    const char* order[] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(block().jogButtons[i], childWithText(page, order[i])) << order[i];
}

TEST_F(ControlExports, RebindingReplacesTheWindowAndTheButtonsButResetsNothingElse) {
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

    EXPECT_EQ(block().hostWindow, second);
    EXPECT_EQ(block().jogButtons[bridge::kXPlus], childWithText(secondPage, "X+"));
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
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
}

TEST_F(ControlExports, UnHookClearsNothing) {
    HWND main = ncstudio.mainWindow();
    manualPageWithButtons(ncstudio, main);
    ASSERT_EQ(installhook(main), 1);
    HWND cachedXPlus = block().jogButtons[bridge::kXPlus];
    block().mapEnabled = 1;

    EXPECT_EQ(UnHook(), 1);

    EXPECT_EQ(block().hostWindow, main);
    EXPECT_EQ(block().jogButtons[bridge::kXPlus], cachedXPlus);
    EXPECT_EQ(block().mapEnabled, 1);
}

TEST_F(ControlExports, SetVerNamesTheGenerationAndRewritesTheCommandIds) {
    block().stopCommandId = 1;
    block().pauseCommandId = 2;

    EXPECT_EQ(SetVer(0), 0);
    EXPECT_EQ(block().hostGeneration, 1);
    EXPECT_EQ(block().verArg, 0);
    EXPECT_EQ(block().stopCommandId, 32829);
    EXPECT_EQ(block().pauseCommandId, 32821);

    EXPECT_EQ(SetVer(7), 7);
    EXPECT_EQ(block().hostGeneration, 2);
    EXPECT_EQ(block().verArg, 7);
    EXPECT_EQ(block().stopCommandId, 32829);
    EXPECT_EQ(block().pauseCommandId, 32821);

    EXPECT_EQ(SetVer(-1), -1);
    EXPECT_EQ(block().hostGeneration, 2);
}

TEST_F(ControlExports, CommandIdsHoldTheirValuesFromTheStart) {
    EXPECT_EQ(block().stopCommandId, 32829);
    EXPECT_EQ(block().pauseCommandId, 32821);
    EXPECT_EQ(block().hostGeneration, 1);
    EXPECT_EQ(block().hostWindow, nullptr);
    EXPECT_EQ(block().mapEnabled, 0);
    EXPECT_EQ(block().machineState, 1);
    EXPECT_EQ(block().lastStepCode, 15);
    EXPECT_EQ(block().activeStepIndex, 1);
    EXPECT_EQ(block().toolSetterHeight, 34.4);
}

TEST_F(ControlExports, EnableMapSwitchesTheExecutorAndInvalidatesTheButtons) {
    block().jogButtonsReady = 1;
    EXPECT_EQ(EnableMap(1), 1);
    EXPECT_EQ(block().mapEnabled, 1);
    EXPECT_EQ(block().jogButtonsReady, 0);

    block().jogButtonsReady = 1;
    EXPECT_EQ(EnableMap(0), 0);
    EXPECT_EQ(block().mapEnabled, 0);
    EXPECT_EQ(block().jogButtonsReady, 0);
}

TEST_F(ControlExports, EnableEditStoresTheLock) {
    block().jogButtonsReady = 1;
    EXPECT_EQ(EnableEdit(1), 1);
    EXPECT_EQ(block().jogLocked, 1);
    EXPECT_EQ(EnableEdit(0), 0);
    EXPECT_EQ(block().jogLocked, 0);
    EXPECT_EQ(block().jogButtonsReady, 1);
}

TEST_F(ControlExports, SetKnifHighStoresTheExactHeightAndTheSwitch) {
    EXPECT_EQ(SetKnifHigh(34.4, 1), 1);
    EXPECT_EQ(block().toolSetterHeight, 34.4);
    EXPECT_EQ(block().toolSetterEnabled, 1);

    EXPECT_EQ(SetKnifHigh(-12.0625, 0), 1);
    EXPECT_EQ(block().toolSetterHeight, -12.0625);
    EXPECT_EQ(block().toolSetterEnabled, 0);
}

TEST_F(ControlExports, MouseProcInvalidatesTheButtonsOnMouseButtons) {
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        block().jogButtonsReady = 1;
        EXPECT_EQ(MouseProc(0, message, 0), CallNextHookEx(nullptr, 0, message, 0));
        EXPECT_EQ(block().jogButtonsReady, 0) << std::hex << message;
    }
    block().jogButtonsReady = 1;
    MouseProc(HC_NOREMOVE, WM_LBUTTONDOWN, 0);
    EXPECT_EQ(block().jogButtonsReady, 0) << "any code from 0 up";
}

TEST_F(ControlExports, MouseProcIgnoresNegativeCodesAndOtherMessages) {
    block().jogButtonsReady = 1;
    EXPECT_EQ(MouseProc(-1, WM_LBUTTONDOWN, 0), CallNextHookEx(nullptr, -1, WM_LBUTTONDOWN, 0));
    EXPECT_EQ(block().jogButtonsReady, 1);
    for (UINT message : {WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN}) {
        MouseProc(0, message, 0);
        EXPECT_EQ(block().jogButtonsReady, 1) << std::hex << message;
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
    EXPECT_EQ(block().homingDialog, window);
    EXPECT_EQ(block().hostMode, 5);
}
