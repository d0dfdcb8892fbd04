// The link over time: reader, unplug, device changes, reopen and close.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <chrono>

#include "tests/pendant/device_fixture.h"

namespace pendant_testing {
namespace {

using pendant::device;

LPARAM eventData(DEV_BROADCAST_HDR& header, DWORD deviceType) {
    header = {};
    header.dbch_size = sizeof(header);
    header.dbch_devicetype = deviceType;
    return reinterpret_cast<LPARAM>(&header);
}

using LinkTest = DeviceTest;

TEST_F(LinkTest, UnplugClosesBothHandlesAndMarksTheLinkDown) {
    openReceiver();
    app::state().linkUp = 1;

    hid.unplug();

    EXPECT_TRUE(hid.waitForAllClosed(2000));
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(device().connected, 1) << "stays set until the next reconnect";
    EXPECT_EQ(hid.closesUnderPendingRead(), 0);
    EXPECT_EQ(hid.badCloses(), 0);
}

TEST_F(LinkTest, ReplugReopensAtTheNextReconnectAndSwitchesTheLinkOn) {
    openReceiver();
    hid.unplug();
    ASSERT_TRUE(hid.waitForAllClosed(2000));
    app::state().linkEnabled = 0;
    app::state().linkUp = 1;

    hid.plugIn({receiverInput(), receiverFeature()});
    DEV_BROADCAST_HDR header;
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVICEARRIVAL,
                                        eventData(header, DBT_DEVTYP_DEVICEINTERFACE)));
    EXPECT_EQ(app::state().linkUp, 0);

    device().reconnectStep(nullptr);

    EXPECT_EQ(app::state().linkUp, 1);
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(hid.openHandles(), 2);
    EXPECT_EQ(hid.featureReports().size(), 2u) << "a start report at each open";
    EXPECT_TRUE(hid.waitForPendingRead(2000)) << "a new reader reads";
    EXPECT_EQ(hid.badCloses(), 0);
}

TEST_F(LinkTest, ReconnectLeavesAnUpLinkAlone) {
    openReceiver();
    app::state().linkUp = 1;
    const int opens = hid.opens();

    device().reconnectStep(nullptr);

    EXPECT_EQ(hid.opens(), opens);
    EXPECT_EQ(device().connected, 1);
}

TEST_F(LinkTest, ReconnectWithoutAReceiverKeepsTheLinkOff) {
    app::state().linkEnabled = 0;
    device().reconnectStep(nullptr);
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(app::state().linkEnabled, 0);
}

TEST_F(LinkTest, AnyRemovalAndAnyInterfaceArrivalMarkTheLinkDown) {
    DEV_BROADCAST_HDR header;
    app::state().linkUp = 1;
    device().onDeviceChange(DBT_DEVICEREMOVECOMPLETE, eventData(header, DBT_DEVTYP_VOLUME));
    EXPECT_EQ(app::state().linkUp, 0) << "a USB stick's removal";

    app::state().linkUp = 1;
    device().onDeviceChange(DBT_DEVICEARRIVAL, eventData(header, DBT_DEVTYP_DEVICEINTERFACE));
    EXPECT_EQ(app::state().linkUp, 0);
}

TEST_F(LinkTest, OtherDeviceEventsLeaveTheLinkUp) {
    DEV_BROADCAST_HDR header;
    app::state().linkUp = 1;
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVICEARRIVAL, eventData(header, DBT_DEVTYP_VOLUME)));
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVICEARRIVAL, 0));
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVNODES_CHANGED, 0));
    EXPECT_TRUE(device().onDeviceChange(DBT_DEVICEQUERYREMOVE,
                                        eventData(header, DBT_DEVTYP_DEVICEINTERFACE)));
    EXPECT_EQ(app::state().linkUp, 1);
}

TEST_F(LinkTest, CloseWakesAReaderBlockedInARead) {
    openReceiver();

    const auto start = std::chrono::steady_clock::now();
    device().closeDevice();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    EXPECT_EQ(hid.openHandles(), 0);
    EXPECT_EQ(device().connected, 0);
    EXPECT_EQ(hid.closesUnderPendingRead(), 0) << "a handle was closed under the reader";
    EXPECT_EQ(hid.foreignCancels(), 0) << "the read was cancelled by another thread";
    EXPECT_EQ(hid.badCloses(), 0);
}

TEST_F(LinkTest, AReaderThatCannotLetGoInTimeClosesTheHandlesItself) {
    openReceiver();
    hid.holdCancellation(true);

    const auto start = std::chrono::steady_clock::now();
    device().closeDevice();
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
    EXPECT_EQ(device().connected, 0);
    EXPECT_EQ(hid.openHandles(), 2) << "the reader still holds them";
    EXPECT_EQ(device().openDevice(nullptr), 0) << "no second reader beside the first";

    hid.holdCancellation(false);
    EXPECT_TRUE(hid.waitForAllClosed(2000));
    EXPECT_EQ(hid.closesUnderPendingRead(), 0);
    EXPECT_EQ(hid.badCloses(), 0);
    EXPECT_EQ(device().openDevice(nullptr), 0) << "this attempt forgets the ended reader";
    EXPECT_EQ(device().openDevice(nullptr), 1);
}

TEST_F(LinkTest, CloseAndReopenRepeatedly) {
    hid.plugIn({receiverInput(), receiverFeature()});
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(device().openDevice(nullptr), 1) << "round " << round;
        device().closeDevice();
    }
    EXPECT_EQ(hid.openHandles(), 0);
    EXPECT_EQ(hid.closesUnderPendingRead(), 0);
    EXPECT_EQ(hid.badCloses(), 0);
}

}  // namespace
}  // namespace pendant_testing
