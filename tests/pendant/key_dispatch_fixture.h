#pragma once
// The reader thread's side of key dispatch: the test thread dispatches, a
// stand-in NcStudio main window lives on a host thread of its own and is bound
// in the process state, and loading "ncbridge.dll" gives the recording
// library. The process state the tests touch is put back afterwards, and the
// test thread's input is detached again.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/recording_bridge.h"

namespace pendant_testing {

class KeyDispatchFixture : public ::testing::Test {
protected:
    void SetUp() override {
        resetKeyState();
        app::state().bridgeModule = nullptr;
        app::state().toolSetterHeight = 12.5;
        app::state().toolSetterEnabled = 1;
        main = ncstudio.mainWindow();
        bindTo(host, main);
    }

    void TearDown() override {
        if (app::state().attachedThreadId)
            AttachThreadInput(GetCurrentThreadId(), app::state().attachedThreadId, FALSE);
        app::freeBridge();
        resetKeyState();
        app::state().hostWindow = nullptr;
        app::state().hostThreadId = 0;
    }

    static void resetKeyState() {
        app::ProcessState& state = app::state();
        state.linkEnabled = 1;
        state.keyActivity = 0;
        state.attachedThreadId = 0;
        state.lastWheelDelta = 0;
        state.lastKeyWord = 0;
    }

    // Binds NcStudio as host discovery does.
    static void bindTo(standin::HostThread& thread, HWND window) {
        app::state().hostWindow = window;
        app::state().hostThreadId = thread.threadId();
    }

    testing_support::RecordingBridge bridge;
    standin::HostThread host;
    standin::NcStudioBuilder ncstudio{host};
    HWND main = nullptr;
};

}  // namespace pendant_testing
