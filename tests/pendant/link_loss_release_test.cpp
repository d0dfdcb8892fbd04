// A continuous jog still running when the link goes down, whichever way it
// goes down, is released in NcStudio once.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/bridge_binding.h"
#include "pendant/display_frame.h"
#include "pendant/polling_thread.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/recording_bridge.h"

namespace pendant_testing {
namespace {

using pendant::device;
using Events = std::vector<std::string>;

// Axis knob X, rate knob on continuous jog, no key; the wheel turns by 5.
const Report kJogReport = {4, 0, 0, 0, 0x1C, 0x11, 5, 0};
const Events kJogThenRelease = {"KeyBoardProc 5 111C0000", "KeyBoardProc 0 111C0000"};

struct LinkLoss {
    const char* name;
    std::function<void(FakeHid&)> loseLink;
};
void PrintTo(const LinkLoss& loss, std::ostream* out) { *out << loss.name; }

class LinkLossRelease : public DeviceTest, public ::testing::WithParamInterface<LinkLoss> {
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

    Events keyEvents() const {
        Events events;
        for (const std::string& call : bridge.calls())
            if (call.rfind("KeyBoardProc", 0) == 0) events.push_back(call);
        return events;
    }

    testing_support::RecordingBridge bridge;
};

TEST_P(LinkLossRelease, ReleasesTheJogOnce) {
    openReceiver();
    hid.deliver(kJogReport);
    for (int i = 0; i < 200 && keyEvents().empty(); ++i) Sleep(10);
    ASSERT_EQ(keyEvents(), Events{kJogThenRelease[0]});
    ASSERT_TRUE(hid.waitForPendingRead(2000)) << "the reader is back in a read";

    GetParam().loseLink(hid);
    EXPECT_EQ(keyEvents(), kJogThenRelease);

    device().closeDevice();
    EXPECT_EQ(keyEvents(), kJogThenRelease) << "released only once";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LinkLossRelease,
    ::testing::Values(
        LinkLoss{"Unplug", [](FakeHid& hid) {
                     hid.unplug();
                     EXPECT_TRUE(hid.waitForAllClosed(2000));
                 }},
        LinkLoss{"CloseDevice", [](FakeHid&) { device().closeDevice(); }},
        LinkLoss{"AnyDeviceRemoval",
                 [](FakeHid&) {
                     DEV_BROADCAST_HDR header = {};
                     header.dbch_devicetype = DBT_DEVTYP_VOLUME;
                     device().onDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&header));
                 }},
        LinkLoss{"FailedFrameSend",
                 [](FakeHid& hid) {
                     pendant::resetDisplay();
                     pendant::resetPolling();
                     app::state().linkUp = 1;
                     hid.failFeatureWritesFrom(1);
                     std::string location = "X:1:2:3:";
                     pendant::buildAndSendFrame(location);
                     EXPECT_EQ(app::state().linkUp, 0);
                 }}),
    [](const ::testing::TestParamInfo<LinkLoss>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pendant_testing
