// Finding and opening the receiver among the HID interfaces present.
#include <gtest/gtest.h>

#include <string>

#include "tests/pendant/device_fixture.h"

namespace pendant_testing {
namespace {

using pendant::device;

std::vector<FakeInterface> others(int count) {
    std::vector<FakeInterface> list;
    for (int i = 0; i < count; ++i) list.push_back(otherDevice("other-" + std::to_string(i)));
    return list;
}

using EnumerationTest = DeviceTest;

TEST_F(EnumerationTest, OpensBothInterfacesStartsTheReaderAndSendsOneStartReport) {
    SYSTEMTIME before;
    GetSystemTime(&before);
    hid.plugIn({receiverInput(), receiverFeature()});

    EXPECT_EQ(device().openDevice(nullptr), 1);
    SYSTEMTIME after;
    GetSystemTime(&after);

    EXPECT_EQ(device().connected, 1);
    EXPECT_EQ(hid.openHandles(), 2);
    EXPECT_TRUE(hid.waitForPendingRead(2000)) << "no reader is reading";
    const auto reports = hid.featureReports();
    ASSERT_EQ(reports.size(), 1u);
    const BYTE day = reports[0][3];
    EXPECT_TRUE(day == static_cast<BYTE>(before.wDay) || day == static_cast<BYTE>(after.wDay));
    EXPECT_EQ(reports[0], (Report{0x06, 0xFE, 0xFD, day, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_TRUE(IsEqualGUID(device().notifyClassGuid(), receiverFeature().interfaceClass));
    EXPECT_EQ(hid.preparsedNotFreed(), 0);
}

TEST_F(EnumerationTest, AnOpenReceiverIsNotOpenedAgain) {
    openReceiver();
    const int opens = hid.opens();

    EXPECT_EQ(device().openDevice(nullptr), 1);
    EXPECT_EQ(device().ensureOpen(), 1);

    EXPECT_EQ(hid.opens(), opens);
    EXPECT_EQ(hid.featureReports().size(), 1u);
}

TEST_F(EnumerationTest, WithoutAnEightByteInputInterfaceNothingStaysOpen) {
    FakeInterface longInput = receiverInput();
    longInput.inputLength = 16;
    const std::vector<std::vector<FakeInterface>> receivers = {
        {longInput, receiverFeature()},
        {receiverFeature()},
        {receiverInput()},
    };
    for (const auto& interfaces : receivers) {
        hid.plugIn(interfaces);
        EXPECT_EQ(device().openDevice(nullptr), 0);
        EXPECT_EQ(device().connected, 0);
        EXPECT_EQ(hid.openHandles(), 0);
        EXPECT_TRUE(hid.featureReports().empty());
    }
    EXPECT_EQ(hid.preparsedNotFreed(), 0);
}

TEST_F(EnumerationTest, OtherDevicesAreClosedAtOnceAndDoNotCount) {
    hid.plugIn({otherDevice("mouse"), receiverInput(), otherDevice("keyboard"), receiverFeature()});
    EXPECT_EQ(device().openDevice(nullptr), 1);
    EXPECT_EQ(hid.openHandles(), 2);
    device().closeDevice();

    // A foreign device with 8-byte feature reports is no feature interface.
    FakeInterface sameProductOtherVendor = otherDevice("lookalike");
    sameProductOtherVendor.productId = 0xEB99;
    hid.plugIn({receiverInput(), otherDevice("foreign"), sameProductOtherVendor});
    EXPECT_EQ(device().openDevice(nullptr), 0);
    EXPECT_EQ(hid.openHandles(), 0);
}

TEST_F(EnumerationTest, OnlyTheFirstTwentyFiveInterfacesAreExamined) {
    auto interfaces = others(23);
    interfaces.push_back(receiverInput());
    interfaces.push_back(receiverFeature());
    hid.plugIn(interfaces);
    EXPECT_EQ(device().openDevice(nullptr), 1) << "indexes 23 and 24 are examined";
    device().closeDevice();

    interfaces = others(25);
    interfaces.push_back(receiverInput());
    interfaces.push_back(receiverFeature());
    hid.plugIn(interfaces);
    const int opensBefore = hid.opens();
    EXPECT_EQ(device().openDevice(nullptr), 0);
    EXPECT_EQ(hid.highestIndexAsked(), 24u);
    EXPECT_EQ(hid.opens() - opensBefore, 25);
    EXPECT_EQ(hid.openHandles(), 0);
}

TEST_F(EnumerationTest, AnInterfaceWhoseAttributesCannotBeReadIsPassedOver) {
    FakeInterface unreadable = receiverInput("unreadable");
    unreadable.attributesFail = true;
    hid.plugIn({unreadable, receiverInput(), receiverFeature()});

    EXPECT_EQ(device().openDevice(nullptr), 1);
    EXPECT_EQ(hid.openHandles(), 2);
}

TEST_F(EnumerationTest, AtMostFourFeatureInterfacesAreTaken) {
    // The fourth feature interface ends the search: the input interface
    // behind it is never seen.
    hid.plugIn({receiverFeature("f1"), receiverFeature("f2"), receiverFeature("f3"),
                receiverFeature("f4"), receiverInput()});
    EXPECT_EQ(device().openDevice(nullptr), 0);
    EXPECT_EQ(hid.highestIndexAsked(), 3u);
    EXPECT_EQ(hid.openHandles(), 0);

    // A later feature interface replaces an earlier one, which is closed.
    hid.plugIn({receiverFeature("f1"), receiverFeature("f2"), receiverInput(), receiverFeature("f3")});
    EXPECT_EQ(device().openDevice(nullptr), 1);
    EXPECT_EQ(hid.openHandles(), 2);
}

TEST_F(EnumerationTest, NoReceiverLeavesTheLinkClosed) {
    hid.plugIn(others(3));
    EXPECT_EQ(device().ensureOpen(), 0);
    EXPECT_EQ(device().connected, 0);
    EXPECT_EQ(hid.openHandles(), 0);
    EXPECT_EQ(hid.badCloses(), 0);
}

}  // namespace
}  // namespace pendant_testing
