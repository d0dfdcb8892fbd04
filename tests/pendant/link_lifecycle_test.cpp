// The link over time: unplug and replug, device changes, reopen and close.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <chrono>

#include "tests/pendant/device_fixture.h"

namespace pendant_testing {
namespace {

using pendant::device;
using std::chrono::milliseconds;

// Whether a device change with this event and device type clears linkUp.
bool changeTakesTheLinkDown(WPARAM event, DWORD deviceType) {
    DEV_BROADCAST_HDR header = {};
    header.dbch_size = sizeof(header);
    header.dbch_devicetype = deviceType;
    app::state().linkUp = 1;
    EXPECT_TRUE(device().onDeviceChange(event, reinterpret_cast<LPARAM>(&header)));
    return app::state().linkUp == 0;
}

// How long closeDevice took.
milliseconds timedClose() {
    const auto start = std::chrono::steady_clock::now();
    device().closeDevice();
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

using LinkTest = DeviceTest;

TEST_F(LinkTest, UnplugClosesTheLinkAndReplugReopensItAtTheNextReconnect) {
    openReceiver();
    app::state().linkUp = 1;

    hid.unplug();
    ASSERT_TRUE(hid.waitForAllClosed(2000));
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(device().connected, 1) << "stays set until the next reconnect";

    app::state().linkEnabled = 0;
    hid.plugIn({receiverInput(), receiverFeature()});
    EXPECT_TRUE(changeTakesTheLinkDown(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE));
    device().reconnectStep(nullptr);

    EXPECT_EQ(app::state().linkUp, 1);
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(hid.openHandles(), 2);
    EXPECT_EQ(hid.featureReports().size(), 2u) << "a start report at each open";
    EXPECT_TRUE(hid.waitForPendingRead(2000)) << "a new reader reads";

    const int opens = hid.tally().opens;
    device().reconnectStep(nullptr);
    EXPECT_EQ(hid.tally().opens, opens) << "an up link is left alone";
}

TEST_F(LinkTest, ReconnectWithoutAReceiverKeepsTheLinkOff) {
    app::state().linkEnabled = 0;
    device().reconnectStep(nullptr);
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(app::state().linkEnabled, 0);
}

TEST_F(LinkTest, AnyRemovalAndAnyInterfaceArrivalTakeTheLinkDown) {
    EXPECT_TRUE(changeTakesTheLinkDown(DBT_DEVICEREMOVECOMPLETE, DBT_DEVTYP_VOLUME)) << "a USB stick";
    EXPECT_TRUE(changeTakesTheLinkDown(DBT_DEVICEARRIVAL, DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_FALSE(changeTakesTheLinkDown(DBT_DEVICEARRIVAL, DBT_DEVTYP_VOLUME));
    EXPECT_FALSE(changeTakesTheLinkDown(DBT_DEVICEQUERYREMOVE, DBT_DEVTYP_DEVICEINTERFACE));
    app::state().linkUp = 1;
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVICEARRIVAL, 0));
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVNODES_CHANGED, 0));
    EXPECT_EQ(app::state().linkUp, 1);
}

TEST_F(LinkTest, CloseWakesAReaderBlockedInARead) {
    openReceiver();
    EXPECT_LT(timedClose(), milliseconds(500));
    EXPECT_EQ(hid.openHandles(), 0);
    EXPECT_EQ(device().connected, 0);
}

TEST_F(LinkTest, AReaderThatCannotLetGoInTimeKeepsTheReceiverClosedUntilItHasEndedAndClosesTheHandlesItself) {
    openReceiver();
    hid.holdCancellation(true);

    const milliseconds took = timedClose();
    EXPECT_GE(took, milliseconds(1900));
    EXPECT_LT(took, milliseconds(3000));
    EXPECT_EQ(device().connected, 0);
    EXPECT_EQ(hid.openHandles(), 2) << "the reader still holds them";
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(device().openDevice(nullptr), 0) << "no second reader beside the first";
    EXPECT_LT(std::chrono::steady_clock::now() - started, milliseconds(200)) << "nor a wait for it";

    hid.holdCancellation(false);
    EXPECT_TRUE(hid.waitForAllClosed(2000));
    Sleep(50);  // the reader's last steps after it closed the handles
    EXPECT_EQ(device().openDevice(nullptr), 1) << "the first attempt after it ended opens";
}

// A frame send that passed its link check just before a failed read closed
// the handles asks for a reopen while the reader still idles; that attempt
// fails and clears `connected`, so the next reconnect has no close to run.
TEST_F(LinkTest, AFrameSendRacingAFailedReadDoesNotKeepTheReceiverClosedForGood) {
    openReceiver();
    app::state().linkUp = 1;
    hid.unplug();
    ASSERT_TRUE(hid.waitForAllClosed(2000));
    hid.plugIn({receiverInput(), receiverFeature()});
    const BYTE frame[7] = {1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(device().sendFeatureData(frame, 7), 0) << "the idle reader is still recorded";

    for (int step = 0; step < 10 && !app::state().linkUp; ++step) {
        device().reconnectStep(nullptr);
        if (!app::state().linkUp) Sleep(100);
    }
    EXPECT_EQ(app::state().linkUp, 1) << "the receiver opens again within a second of reconnects";
    EXPECT_TRUE(hid.waitForPendingRead(2000)) << "and a reader reads it";
}

TEST_F(LinkTest, CloseAndReopenRepeatedly) {
    hid.plugIn({receiverInput(), receiverFeature()});
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(device().openDevice(nullptr), 1) << "round " << round;
        device().closeDevice();
    }
    EXPECT_EQ(hid.openHandles(), 0);
}

}  // namespace
}  // namespace pendant_testing
