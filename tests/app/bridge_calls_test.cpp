// What wheelpad passes to each export of ncbridge, what it takes back, the
// conditions some calls wait for, and the order of the binding calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/bridge_binding_fixture.h"

using app_testing::BridgeBindingFixture;
using testing_support::handleText;
using Calls = std::vector<std::string>;

class BridgeCalls : public BridgeBindingFixture {};

TEST_F(BridgeCalls, InstallhookStoresTheWindowAndReturnsTheBindingResult) {
    for (int bound : {1, 0}) {
        SCOPED_TRACE(bound);
        bridge.clearCalls();
        app::state().hostWindow = nullptr;
        bridge.setResult("installhook", bound);

        EXPECT_EQ(app::callInstallhook(main), bound);
        EXPECT_EQ(app::state().hostWindow, main) << "stored whatever the result";
        EXPECT_EQ(bridge.calls(), Calls{"installhook " + handleText(main)});
    }
}

TEST_F(BridgeCalls, InstallhookIsNeverReachedWithoutAReceiver) {
    bridge.setResult("installhook", 1);
    pendant::device().connected = 0;

    EXPECT_EQ(app::callInstallhook(main), 0);

    EXPECT_EQ(app::state().hostWindow, nullptr);
    EXPECT_TRUE(bridge.calls().empty());
    EXPECT_EQ(app::state().bridgeModule, bridge.module()) << "the library is loaded first";
}

TEST_F(BridgeCalls, SetPcStateOnlyForWindowsOfTheBoundNcStudiosThread) {
    standin::HostThread other;
    standin::NcStudioBuilder otherNcStudio{other};
    HWND prompt = ncstudio.topLevel("#32770", "NcStudio");
    HWND foreign = otherNcStudio.topLevel("#32770", "NcStudio");
    HWND gone = ncstudio.topLevel("#32770", "NcStudio");
    ncstudio.destroy(gone);
    app::state().hostThreadId = host.threadId();

    app::callSetPcState(prompt, 16);
    app::callSetPcState(foreign, 16);
    app::callSetPcState(gone, 16);

    EXPECT_EQ(bridge.calls(), Calls{"SetPcState " + handleText(prompt) + " 16"});
}

TEST_F(BridgeCalls, SetPcStateIsNotPassedOnWhileNothingIsBound) {
    HWND gone = ncstudio.topLevel("#32770", "NcStudio");
    ncstudio.destroy(gone);
    app::state().hostThreadId = 0;

    app::callSetPcState(gone, 0);
    app::callSetPcState(nullptr, 0);

    EXPECT_TRUE(bridge.calls().empty());
}

TEST_F(BridgeCalls, GetMaStateGivesTheStateWordOnlyWhileTheLinkIsUp) {
    bridge.setResult("GetMaState", 0x00010002);
    HWND wheelpadMain = ncstudio.topLevel("#32770", "RZWN-1.4");
    int stateWord = 99;

    app::state().linkUp = 0;
    EXPECT_FALSE(app::callGetMaState(wheelpadMain, stateWord));
    EXPECT_EQ(stateWord, 99);
    EXPECT_TRUE(bridge.calls().empty());

    app::state().linkUp = 1;
    EXPECT_TRUE(app::callGetMaState(wheelpadMain, stateWord));
    EXPECT_EQ(stateWord, 0x00010002);
    EXPECT_EQ(bridge.calls(), Calls{"GetMaState " + handleText(wheelpadMain)});
}

TEST_F(BridgeCalls, StatusReadersGiveTheirResults) {
    bridge.setResult("GetMaStep", 0x00030105);
    bridge.setResult("GetAxisLocation", 1);
    bridge.setLocationText("X:12.500:F:3000:S:18000:");
    int stepWord = 0;
    int fresh = 0;
    char location[1024] = {};

    EXPECT_TRUE(app::callGetMaStep(stepWord));
    EXPECT_TRUE(app::callGetAxisLocation(location, fresh));

    EXPECT_EQ(stepWord, 0x00030105);
    EXPECT_EQ(fresh, 1);
    EXPECT_STREQ(location, "X:12.500:F:3000:S:18000:");
    EXPECT_EQ(bridge.calls(), (Calls{"GetMaStep", "GetAxisLocation"}));
}

TEST_F(BridgeCalls, KeyEventsAndSettingsArePassedUnchanged) {
    EXPECT_TRUE(app::callKeyBoardProc(254, static_cast<int>(0xFF050004u)));
    app::callSetKnifHigh(34.4, 1);
    app::callEnableMap(0);

    EXPECT_EQ(bridge.calls(), (Calls{"KeyBoardProc 254 FF050004", "SetKnifHigh 34.400000 1",
                                     "EnableMap 0"}));
}

// Binding, mapping and unbinding as host discovery runs them.
TEST_F(BridgeCalls, BindingCallsReachTheLibraryInTheirOrder) {
    bridge.setResult("UnHook", 1);
    bridge.setResult("installhook", 1);
    app::state().hostThreadId = host.threadId();

    app::callSetVer(1);
    ASSERT_NE(app::callUnHook(), 0);
    ASSERT_NE(app::callInstallhook(main), 0);
    app::callSetPcState(main, 0);
    app::callEnableMap(1);
    app::callSetPcState(main, 32);
    app::callUnHook();

    const std::string window = handleText(main);
    EXPECT_EQ(bridge.calls(),
              (Calls{"SetVer 1", "UnHook", "installhook " + window, "SetPcState " + window + " 0",
                     "EnableMap 1", "SetPcState " + window + " 32", "UnHook"}));
}
