// Loading ncbridge by name on demand, looking exports up at every call, and
// the failure values when the library or an export is missing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/app/bridge_binding_fixture.h"

using app_testing::BridgeBindingFixture;
using Calls = std::vector<std::string>;

class BridgeLoading : public BridgeBindingFixture {
protected:
    // Every wrapper gives its failure value and changes nothing it was given.
    void expectEveryCallFails() {
        app::state().hostThreadId = host.threadId();
        EXPECT_EQ(app::callInstallhook(main), 0);
        EXPECT_EQ(app::state().hostWindow, nullptr) << "no window stored without a call";
        EXPECT_EQ(app::callUnHook(), 0);
        int result = 77;
        EXPECT_FALSE(app::callGetMaState(main, result));
        EXPECT_FALSE(app::callGetMaStep(result));
        char buffer[1024] = "kept";
        EXPECT_FALSE(app::callGetAxisLocation(buffer, result));
        EXPECT_STREQ(buffer, "kept");
        EXPECT_EQ(result, 77);
        EXPECT_FALSE(app::callKeyBoardProc(1, 0x00000004));
        app::callEnableMap(1);
        app::callSetVer(1);
        app::callSetPcState(main, 0);
        app::callSetKnifHigh(34.4, 1);
    }
};

TEST_F(BridgeLoading, FirstCallLoadsTheLibraryByName) {
    bridge.setResult("UnHook", 7);

    EXPECT_EQ(app::callUnHook(), 7);

    EXPECT_EQ(app::state().bridgeModule, bridge.module());
    EXPECT_EQ(bridge.calls(), Calls{"UnHook"});
}

TEST_F(BridgeLoading, ExportsAreLookedUpInTheCurrentModuleAtEveryCall) {
    bridge.setResult("GetMaStep", 3);
    int result = 0;
    ASSERT_TRUE(app::callGetMaStep(result));
    HMODULE recording = app::state().bridgeModule;

    HMODULE withoutExports = LoadLibraryA("kernel32.dll");
    app::state().bridgeModule = withoutExports;
    result = 0;
    EXPECT_FALSE(app::callGetMaStep(result));
    EXPECT_EQ(result, 0);

    app::state().bridgeModule = recording;
    FreeLibrary(withoutExports);
    EXPECT_TRUE(app::callGetMaStep(result));
    EXPECT_EQ(result, 3);
    EXPECT_EQ(bridge.calls(), (Calls{"GetMaStep", "GetMaStep"}));
}

TEST_F(BridgeLoading, FreedLibraryIsLoadedAgainByTheNextCall) {
    app::callSetVer(0);

    app::freeBridge();
    EXPECT_EQ(app::state().bridgeModule, nullptr);

    app::callSetVer(1);
    EXPECT_EQ(app::state().bridgeModule, bridge.module());
    EXPECT_EQ(bridge.calls(), (Calls{"SetVer 0", "SetVer 1"}));
}

TEST_F(BridgeLoading, WithoutTheLibraryEveryCallGivesItsFailureValue) {
    bridge.makeAbsent();

    expectEveryCallFails();

    EXPECT_EQ(app::state().bridgeModule, nullptr);
    EXPECT_EQ(GetModuleHandleA("ncbridge.dll"), nullptr);
}

TEST_F(BridgeLoading, LibraryThatBecomesLoadableIsPickedUp) {
    bridge.makeAbsent();
    EXPECT_EQ(app::callUnHook(), 0);

    bridge.makeAvailable();
    bridge.setResult("UnHook", 1);

    EXPECT_EQ(app::callUnHook(), 1);
    EXPECT_EQ(app::state().bridgeModule, bridge.module());
}

TEST_F(BridgeLoading, MissingExportsGiveTheirFailureValues) {
    app::state().bridgeModule = LoadLibraryA("kernel32.dll");  // freed by the fixture

    expectEveryCallFails();
}
