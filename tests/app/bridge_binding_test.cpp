// wheelpad's calls into ncbridge against the recording library: loading it by
// name on demand, looking exports up at every call, what each wrapper passes
// and takes back, the conditions some wait for, their failure values, and the
// order of the binding calls. A receiver counts as connected and the link as
// up, and a stand-in NcStudio main window lives on a host thread of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/recording_bridge.h"

namespace {

using testing_support::handleText;
using Calls = std::vector<std::string>;

class BridgeBinding : public ::testing::Test {
protected:
    void SetUp() override {
        setLink(1);
        app::state().bridgeModule = nullptr;
        main = ncstudio.mainWindow();
    }

    // The process state the tests touch is put back and the library freed.
    void TearDown() override {
        app::freeBridge();
        setLink(0);
        app::state().hostWindow = nullptr;
        app::state().hostThreadId = 0;
    }

    // The receiver connected and the link up, or neither.
    static void setLink(int up) {
        pendant::device().connected = up;
        app::state().linkUp = up;
    }

    testing_support::RecordingBridge bridge;
    standin::HostThread host;
    standin::NcStudioBuilder ncstudio{host};
    HWND main = nullptr;
};

TEST_F(BridgeBinding, TheLibraryIsLoadedByNameOnDemandAndAgainAfterItWasFreedOrMissing) {
    bridge.setResult("UnHook", 7);
    EXPECT_EQ(app::callUnHook(), 7);
    EXPECT_EQ(app::state().bridgeModule, bridge.module());

    app::freeBridge();
    EXPECT_EQ(app::state().bridgeModule, nullptr);
    app::callSetVer(1);
    EXPECT_EQ(app::state().bridgeModule, bridge.module());
    EXPECT_EQ(bridge.calls(), (Calls{"UnHook", "SetVer 1"}));

    app::freeBridge();
    bridge.makeAbsent();
    EXPECT_EQ(app::callUnHook(), 0);
    bridge.makeAvailable();
    bridge.setResult("UnHook", 1);
    EXPECT_EQ(app::callUnHook(), 1);
    EXPECT_EQ(app::state().bridgeModule, bridge.module());
}

// Every wrapper gives its failure value and changes nothing it was given,
// without the library and with a library that lacks the exports. Exports are
// looked up at every call: one that was found before is not kept.
TEST_F(BridgeBinding, WithoutTheLibraryOrItsExportsEveryCallGivesItsFailureValue) {
    app::state().hostThreadId = host.threadId();
    for (bool absent : {true, false}) {
        SCOPED_TRACE(absent ? "library absent" : "exports missing");
        if (absent) {
            bridge.makeAbsent();
        } else {
            bridge.makeAvailable();
            bridge.setResult("UnHook", 5);
            ASSERT_EQ(app::callUnHook(), 5);
            app::freeBridge();
            app::state().bridgeModule = LoadLibraryA("kernel32.dll");  // freed by TearDown
        }
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
        EXPECT_FALSE(app::callKeyBoardProc(1, 0x00000004, result));
        app::callEnableMap(1);
        app::callSetVer(1);
        app::callSetPcState(main, 0);
        app::callSetKnifHigh(34.4, 1);
        if (absent) {
            EXPECT_EQ(GetModuleHandleA("ncbridge.dll"), nullptr);
        }
    }
    EXPECT_EQ(bridge.calls(), Calls{"UnHook"});
}

// The window is stored just before the call, whatever its result; without a
// receiver the library is loaded but installhook never reached.
TEST_F(BridgeBinding, InstallhookStoresTheWindowAndReturnsTheBindingResultOnlyWithAReceiver) {
    for (int bound : {1, 0}) {
        SCOPED_TRACE(bound);
        bridge.clearCalls();
        app::state().hostWindow = nullptr;
        bridge.setResult("installhook", bound);
        EXPECT_EQ(app::callInstallhook(main), bound);
        EXPECT_EQ(app::state().hostWindow, main);
        EXPECT_EQ(bridge.calls(), Calls{"installhook " + handleText(main)});
    }
    app::freeBridge();
    app::state().hostWindow = nullptr;
    bridge.clearCalls();
    bridge.setResult("installhook", 1);
    pendant::device().connected = 0;
    EXPECT_EQ(app::callInstallhook(main), 0);
    EXPECT_EQ(app::state().hostWindow, nullptr);
    EXPECT_TRUE(bridge.calls().empty());
    EXPECT_EQ(app::state().bridgeModule, bridge.module());
}

TEST_F(BridgeBinding, SetPcStateOnlyForWindowsOfTheBoundNcStudiosThread) {
    standin::HostThread other;
    standin::NcStudioBuilder otherNcStudio{other};
    HWND prompt = ncstudio.topLevel("#32770", "NcStudio");
    HWND foreign = otherNcStudio.topLevel("#32770", "NcStudio");
    HWND gone = ncstudio.topLevel("#32770", "NcStudio");
    ncstudio.destroy(gone);

    // Nothing bound: not even a window without a thread is passed on.
    app::callSetPcState(gone, 0);
    app::callSetPcState(nullptr, 0);

    app::state().hostThreadId = host.threadId();
    for (HWND window : {prompt, foreign, gone}) app::callSetPcState(window, 16);

    EXPECT_EQ(bridge.calls(), Calls{"SetPcState " + handleText(prompt) + " 16"});
}

// GetMaState only while the link is up; the readers' results and the key
// events' arguments pass unchanged.
TEST_F(BridgeBinding, ArgumentsAndResultsPassUnchanged) {
    bridge.setResult("GetMaState", 0x00010002);
    bridge.setResult("GetMaStep", 0x00030105);
    bridge.setResult("GetAxisLocation", 1);
    bridge.setResult("KeyBoardProc", 3);
    bridge.setLocationText("X:12.500:F:3000:S:18000:");
    HWND wheelpadMain = ncstudio.topLevel("#32770", "RZWN-1.4");
    int stateWord = 99, stepWord = 0, fresh = 0, keyResult = 0;
    char location[1024] = {};

    app::state().linkUp = 0;
    EXPECT_FALSE(app::callGetMaState(wheelpadMain, stateWord));
    EXPECT_EQ(stateWord, 99);
    app::state().linkUp = 1;
    EXPECT_TRUE(app::callGetMaState(wheelpadMain, stateWord));
    EXPECT_TRUE(app::callGetMaStep(stepWord));
    EXPECT_TRUE(app::callGetAxisLocation(location, fresh));
    EXPECT_TRUE(app::callKeyBoardProc(254, static_cast<int>(0xFF050004u), keyResult));
    app::callSetKnifHigh(34.4, 1);

    EXPECT_EQ(stateWord, 0x00010002);
    EXPECT_EQ(stepWord, 0x00030105);
    EXPECT_EQ(fresh, 1);
    EXPECT_EQ(keyResult, 3);
    EXPECT_STREQ(location, "X:12.500:F:3000:S:18000:");
    EXPECT_EQ(bridge.calls(), (Calls{"GetMaState " + handleText(wheelpadMain), "GetMaStep", "GetAxisLocation",
                                     "KeyBoardProc 254 FF050004", "SetKnifHigh 34.400000 1"}));
}

// Binding, mapping and unbinding as host discovery runs them.
TEST_F(BridgeBinding, BindingCallsReachTheLibraryInTheirOrder) {
    bridge.setResult("UnHook", 1);
    bridge.setResult("installhook", 1);
    app::state().hostThreadId = host.threadId();

    app::callSetVer(1);
    ASSERT_NE(app::callUnHook(), 0);
    ASSERT_NE(app::callInstallhook(main), 0);
    app::callSetPcState(main, 0);
    app::callEnableMap(1);
    app::callSetPcState(main, 32);
    app::callEnableMap(0);
    app::callUnHook();

    const std::string window = handleText(main);
    EXPECT_EQ(bridge.calls(), (Calls{"SetVer 1", "UnHook", "installhook " + window, "SetPcState " + window + " 0",
                                     "EnableMap 1", "SetPcState " + window + " 32", "EnableMap 0", "UnHook"}));
}

}  // namespace
