#pragma once
// A fresh ncbridge state block, a virtual clock and a stand-in NcStudio on a
// thread of its own. Every sleep of the bridge first lets the stand-in handle
// what was posted to it, so recorded messages carry the virtual time at which
// they were posted. Tests that use it link bridge_core.
#include <gtest/gtest.h>
#include <windows.h>

#include "bridge/shared_block.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/support/virtual_clock.h"

namespace testing_support {

class BridgeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        bridge::startUp();
        clock.onSleep([this] { host.sync(); });
    }

    void TearDown() override {
        detachFromHost();
        bridge::shutDown();
    }

    // Binds the bridge to `main` as installhook would, without its chord.
    void bindTo(HWND main) { bridge::block().hostWindow = main; }

    // Shares the host thread's input state, as the pendant reader does.
    void attachToHost() {
        attached = AttachThreadInput(GetCurrentThreadId(), host.threadId(), TRUE) != FALSE;
    }

    void detachFromHost() {
        if (attached) AttachThreadInput(GetCurrentThreadId(), host.threadId(), FALSE);
        attached = false;
    }

    // Lets the stand-in handle everything posted so far.
    void settle() { host.sync(); }

    VirtualClock clock;
    standin::HostThread host{[this] { return clock.now(); }};
    standin::NcStudioBuilder ncstudio{host};
    bool attached = false;
};

}  // namespace testing_support
