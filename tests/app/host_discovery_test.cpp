// Finding NcStudio: binding a main window that comes to the front, mapping
// while NcStudio's UI thread owns the foreground, reporting its dialogs
// through SetPcState, and unbinding when it has gone. NcStudio's windows are
// stand-ins on a host thread of their own; ncbridge is the recording library.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/bridge_binding.h"
#include "app/host_discovery.h"
#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/ncstudio_process.h"
#include "tests/support/recording_bridge.h"

namespace {

using testing_support::handleText;
using Calls = std::vector<std::string>;

class HostDiscovery : public ::testing::Test {
protected:
    void SetUp() override {
        resetState();
        pendant::device().connected = 1;
        bridge.setResult("UnHook", 1);
        bridge.setResult("installhook", 1);
    }

    void TearDown() override {
        app::freeBridge();
        pendant::device().connected = 0;
        resetState();
    }

    static void resetState() {
        app::ProcessState& state = app::state();
        state.bridgeModule = nullptr;
        state.hostWindow = nullptr;
        state.hostThreadId = 0;
        state.hostProcessId = 0;
        state.hostFound = 0;
        state.verFlag = 0;
        state.hostExePath.clear();
        state.aboutText = "QVT MP40 Driver For Weihong CNC";
    }

    // NcStudio bound as a successful binding leaves it, mapping on.
    void bound(HWND window) {
        app::state().hostFound = 1;
        app::state().hostWindow = window;
        app::state().hostThreadId = host.threadId();
        app::state().hostProcessId = GetCurrentProcessId();
    }

    std::string call(const char* name, HWND window, int value) {
        return std::string(name) + " " + handleText(window) + " " + std::to_string(value);
    }

    testing_support::RecordingBridge bridge;
    standin::HostThread host;
    standin::NcStudioBuilder ncstudio{host};
    app::HostDiscovery discovery;
};

TEST_F(HostDiscovery, AnNcStudioMainWindowInFrontIsBoundAndMaximised) {
    HWND main = ncstudio.mainWindow("NcStudio V9.0 - demo.nc");
    HWND owned = ncstudio.child(main, {"Button", "OK", 1, 0});

    discovery.discover(owned);  // a control of it: its top level decides

    // The version comes from this process's executable (product version 3).
    EXPECT_EQ(bridge.calls(), (Calls{"SetVer 1", "UnHook", "installhook " + handleText(main),
                                     call("SetPcState", main, 0), call("SetPcState", main, 0)}));
    const app::ProcessState& state = app::state();
    EXPECT_EQ(state.hostWindow, main);
    EXPECT_EQ(state.hostThreadId, host.threadId());
    EXPECT_EQ(state.hostProcessId, GetCurrentProcessId());
    EXPECT_EQ(state.aboutText.substr(state.aboutText.size() - 13), "->Ncstudio V3");
    EXPECT_NE(state.hostExePath.find("app_tests"), std::string::npos) << state.hostExePath;
    host.sync();
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_EQ(discovery.lastTopWindow, nullptr);
    EXPECT_EQ(state.hostFound, 0) << "mapping waits until NcStudio's own thread is in front";
}

// Windows that are not NcStudio main windows are examined once and never bound.
TEST_F(HostDiscovery, OnlyMainWindowsTitledNcStudioWithoutAPathAndNotDialogsAreBound) {
    for (HWND window : {ncstudio.mainWindow("NcStudio - C:\\jobs\\demo.nc"), ncstudio.topLevel("#32770", "NcStudio"),
                        ncstudio.mainWindow("Notepad")}) {
        SCOPED_TRACE(handleText(window));
        discovery.discover(window);
        discovery.discover(window);
        EXPECT_TRUE(bridge.calls().empty());
        EXPECT_EQ(discovery.lastTopWindow, window);
    }
}

TEST_F(HostDiscovery, AFailedBindingIsRetriedOnlyWhenInstallhookRefused) {
    HWND main = ncstudio.mainWindow("NcStudio");
    bridge.setResult("UnHook", 0);
    discovery.discover(main);
    discovery.discover(main);
    EXPECT_EQ(bridge.calls(), (Calls{"SetVer 1", "UnHook"})) << "UnHook refused: the window is not examined again";
    EXPECT_EQ(discovery.lastTopWindow, main);

    bridge.clearCalls();
    discovery.lastTopWindow = nullptr;
    bridge.setResult("UnHook", 1);
    bridge.setResult("installhook", 0);
    discovery.discover(main);
    // installhook stored the window; the host check then unbinds at once.
    EXPECT_EQ(bridge.calls(), (Calls{"SetVer 1", "UnHook", "installhook " + handleText(main), "UnHook"}));
    EXPECT_EQ(app::state().hostWindow, nullptr);
    EXPECT_EQ(discovery.lastTopWindow, nullptr) << "tried again on the next refresh";
}

TEST_F(HostDiscovery, NcStudiosThreadInFrontTurnsMappingOnOnceAndCountsADialogDown) {
    HWND main = ncstudio.mainWindow("NcStudio V9.0");
    bound(main);
    app::state().hostFound = 0;
    discovery.dialogHold = 2;

    // Case A counts a dialog down, then the host check does.
    discovery.discover(main);
    EXPECT_EQ(bridge.calls(), (Calls{"EnableMap 1"}));
    EXPECT_EQ(app::state().hostFound, 1);
    discovery.discover(main);
    EXPECT_EQ(bridge.calls(), (Calls{"EnableMap 1", call("SetPcState", main, 0), call("SetPcState", main, 0)}));
}

TEST_F(HostDiscovery, NcStudiosDialogsAreReportedInTheirOrderAndHeldForTwoRefreshes) {
    HWND main = ncstudio.mainWindow("NcStudio V9.0");
    bound(main);
    struct Case {
        const char* title;
        int pcState;
    };
    standin::HostThread otherProgram;
    HWND notepad = standin::NcStudioBuilder(otherProgram).mainWindow("Notepad");
    const Case cases[] = {{"jiggle", 6},           {"bkref: move to reference point", 5}, {"  BKREF  ", 5},
                          {"BKREF: Back to Mechanical Origin", 5}, {"paramters", 32}, {"Calibration", 2}};
    for (const Case& dialog : cases) {
        SCOPED_TRACE(dialog.title);
        HWND window = ncstudio.topLevel("#32770", dialog.title);
        bridge.clearCalls();
        discovery.discover(window);
        EXPECT_EQ(bridge.calls(), Calls{call("SetPcState", window, dialog.pcState)});
        EXPECT_EQ(discovery.dialogHold, 1);

        // Closed, it stays reported for one more refresh.
        ncstudio.destroy(window);
        bridge.clearCalls();
        discovery.discover(notepad);
        EXPECT_TRUE(bridge.calls().empty());
        discovery.discover(notepad);
        EXPECT_EQ(bridge.calls(), Calls{call("SetPcState", main, 0)});
    }
    // An earlier dialog in the order wins over a later one.
    HWND calibration = ncstudio.topLevel("#32770", "Calibration");
    HWND jiggle = ncstudio.jiggleWindow("jiggle");
    bridge.clearCalls();
    discovery.discover(calibration);
    EXPECT_EQ(bridge.calls(), Calls{call("SetPcState", jiggle, 6)});
}

TEST_F(HostDiscovery, PromptsAreReportedOnceWhileTheyStayAndTitleMatchesElsewhereReachNothing) {
    HWND main = ncstudio.mainWindow("NcStudio V9.0");
    bound(main);
    HWND prompt = ncstudio.prompt("NcStudio", "Save the program?");
    discovery.discover(prompt);
    discovery.discover(prompt);
    EXPECT_EQ(bridge.calls(), Calls{call("SetPcState", prompt, 16)});
    ncstudio.destroy(prompt);

    // A message box of NcStudio under another title: the prompt test on the
    // foreground window.
    HWND question = ncstudio.prompt("Question", "Go on?");
    bridge.clearCalls();
    discovery.discover(question);
    EXPECT_EQ(bridge.calls(), Calls{call("SetPcState", question, 16)});
    ncstudio.destroy(question);

    // Another program's window titled "jiggle": held, but not passed on.
    standin::HostThread otherProgram;
    standin::NcStudioBuilder other{otherProgram};
    HWND foreign = other.jiggleWindow("jiggle");
    discovery.discover(main);
    discovery.discover(main);
    bridge.clearCalls();
    discovery.discover(foreign);
    EXPECT_TRUE(bridge.calls().empty());
    EXPECT_EQ(discovery.dialogHold, 1);
}

TEST_F(HostDiscovery, AGoneNcStudioIsUnboundAtTheNextRefresh) {
    HWND main = ncstudio.mainWindow("NcStudio V9.0");
    bound(main);
    app::state().hostFound = 1;
    ncstudio.destroy(main);
    HWND notepad = ncstudio.mainWindow("Notepad");

    discovery.discover(notepad);

    EXPECT_EQ(bridge.calls(), Calls{"UnHook"});
    const app::ProcessState& state = app::state();
    EXPECT_EQ(state.hostWindow, nullptr);
    EXPECT_EQ(state.hostFound, 0);
    EXPECT_EQ(state.hostThreadId, 0u);
    EXPECT_EQ(state.hostProcessId, GetCurrentProcessId()) << "kept";
}

// NcStudio busy at start-up (its UI thread not answering) is bound without
// the main thread waiting for it: the maximising follows when it answers.
TEST_F(HostDiscovery, BindingABusyNcStudioDoesNotWaitForIt) {
    testing_support::NcStudioProcess ncstudio(8);
    const HWND main = ncstudio.mainWindow();
    ASSERT_NE(main, nullptr);
    ncstudio.command("pause 4000");
    DWORD_PTR ignored = 0;
    bool busy = false;
    for (int i = 0; i < 50 && !busy; ++i)
        busy = !SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored);
    ASSERT_TRUE(busy) << "NcStudio never stopped answering";

    const auto start = std::chrono::steady_clock::now();
    discovery.discover(main);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(app::state().hostWindow, main);
    for (int i = 0; i < 100 && !IsZoomed(main); ++i) Sleep(100);
    EXPECT_TRUE(IsZoomed(main)) << "maximised once NcStudio answers again";
}

}  // namespace
