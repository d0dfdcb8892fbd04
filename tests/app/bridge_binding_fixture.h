#pragma once
// wheelpad's calls into ncbridge against the recording library: loading
// "ncbridge.dll" by name gives the recording library, a receiver counts as
// connected and the link as up, and a stand-in NcStudio main window lives on a
// host thread of its own. The process state the tests touch is put back
// afterwards and the library freed.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/recording_bridge.h"

namespace app_testing {

class BridgeBindingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setLink(1);
        app::state().bridgeModule = nullptr;
        main = ncstudio.mainWindow();
    }

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

}  // namespace app_testing
