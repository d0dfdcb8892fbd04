// A key event still held when the link goes down is released in NcStudio.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <string>

#include "app/bridge_binding.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/recording_bridge.h"

namespace pendant_testing {
namespace {

using pendant::device;

// Axis knob X, rate knob on continuous jog, no key; the wheel turns by 5.
const Report kJogReport = {4, 0, 0, 0, 0x1C, 0x11, 5, 0};
const char kJogEvent[] = "KeyBoardProc 5 111C0000";
const char kReleaseEvent[] = "KeyBoardProc 0 111C0000";

class LinkLossReleaseTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        app::state().hostThreadId = GetCurrentThreadId();
    }

    void TearDown() override {
        DeviceTest::TearDown();
        app::ProcessState& state = app::state();
        state.hostThreadId = 0;
        state.attachedThreadId = 0;
        state.lastWheelDelta = 0;
        state.lastKeyWord = 0;
        app::freeBridge();
    }

    // Calls to KeyBoardProc recorded so far.
    std::vector<std::string> keyEvents() const {
        std::vector<std::string> events;
        for (const std::string& call : bridge.calls()) {
            if (call.rfind("KeyBoardProc", 0) == 0) events.push_back(call);
        }
        return events;
    }

    // Delivers the jog report and waits until the reader is back in a read.
    void jog() {
        hid.deliver(kJogReport);
        for (int i = 0; i < 200 && keyEvents().empty(); ++i) Sleep(10);
        ASSERT_EQ(keyEvents(), std::vector<std::string>{kJogEvent});
        ASSERT_TRUE(hid.waitForPendingRead(2000));
    }

    testing_support::RecordingBridge bridge;
};

TEST_F(LinkLossReleaseTest, UnplugDuringAContinuousJogReleasesIt) {
    openReceiver();
    jog();

    hid.unplug();

    ASSERT_TRUE(hid.waitForAllClosed(2000));
    EXPECT_EQ(keyEvents(), (std::vector<std::string>{kJogEvent, kReleaseEvent}));
}

TEST_F(LinkLossReleaseTest, CloseDuringAContinuousJogReleasesItOnce) {
    openReceiver();
    jog();

    device().closeDevice();

    EXPECT_EQ(keyEvents(), (std::vector<std::string>{kJogEvent, kReleaseEvent}));
}

TEST_F(LinkLossReleaseTest, DeviceRemovalDuringAContinuousJogReleasesIt) {
    openReceiver();
    jog();

    DEV_BROADCAST_HDR header = {};
    header.dbch_devicetype = DBT_DEVTYP_VOLUME;
    device().onDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&header));

    EXPECT_EQ(keyEvents(), (std::vector<std::string>{kJogEvent, kReleaseEvent}));
}

}  // namespace
}  // namespace pendant_testing
