// Finding and opening the receiver among the HID interfaces present.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pendant/device_fixture.h"

namespace pendant_testing {
namespace {

using pendant::device;
using Interfaces = std::vector<FakeInterface>;

Interfaces others(int count) {
    Interfaces list;
    for (int i = 0; i < count; ++i) list.push_back(otherDevice("other-" + std::to_string(i)));
    return list;
}

class EnumerationTest : public DeviceTest {
protected:
    // Plugs in `interfaces` and opens; afterwards the receiver is closed again.
    int openAmong(const Interfaces& interfaces) {
        hid.plugIn(interfaces);
        const int opened = device().openDevice(nullptr);
        EXPECT_EQ(hid.openHandles(), opened ? 2 : 0);
        EXPECT_EQ(device().connected, opened);
        device().closeDevice();
        return opened;
    }
};

TEST_F(EnumerationTest, OpensBothInterfacesStartsTheReaderAndSendsOneStartReport) {
    SYSTEMTIME before;
    GetSystemTime(&before);
    openReceiver();
    SYSTEMTIME after;
    GetSystemTime(&after);

    EXPECT_EQ(device().connected, 1);
    EXPECT_EQ(hid.openHandles(), 2);
    const auto reports = hid.featureReports();
    ASSERT_EQ(reports.size(), 1u);
    const BYTE day = reports[0][3];
    EXPECT_TRUE(day == static_cast<BYTE>(before.wDay) || day == static_cast<BYTE>(after.wDay));
    EXPECT_EQ(reports[0], (Report{0x06, 0xFE, 0xFD, day, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_TRUE(IsEqualGUID(device().notifyClassGuid(), receiverFeature().interfaceClass));

    const int opens = hid.tally().opens;
    EXPECT_EQ(device().openDevice(nullptr), 1);
    EXPECT_EQ(device().ensureOpen(), 1);
    EXPECT_EQ(hid.tally().opens, opens) << "an open receiver is not opened again";
    EXPECT_EQ(hid.featureReports().size(), 1u);
}

TEST_F(EnumerationTest, WhichInterfacesMakeAReceiver) {
    FakeInterface longInput = receiverInput();
    longInput.inputLength = 16;
    FakeInterface unreadable = receiverInput("unreadable");
    unreadable.attributesFail = true;
    FakeInterface sameProductOtherVendor = otherDevice("lookalike");
    sameProductOtherVendor.productId = 0xEB99;
    struct Case {
        const char* what;
        Interfaces interfaces;
        int opened;
    };
    const Case cases[] = {
        {"no 8-byte input", {longInput, receiverFeature()}, 0},
        {"no input", {receiverFeature()}, 0},
        {"no feature", {receiverInput()}, 0},
        {"no receiver", others(3), 0},
        {"other devices between", {otherDevice("a"), receiverInput(), otherDevice("b"), receiverFeature()}, 1},
        {"foreign 8-byte features", {receiverInput(), otherDevice("foreign"), sameProductOtherVendor}, 0},
        {"unreadable attributes passed over", {unreadable, receiverInput(), receiverFeature()}, 1},
        // A later feature interface replaces an earlier one, which is closed.
        {"three features", {receiverFeature("1"), receiverFeature("2"), receiverInput(), receiverFeature("3")}, 1},
    };
    for (const Case& receiver : cases) {
        SCOPED_TRACE(receiver.what);
        EXPECT_EQ(openAmong(receiver.interfaces), receiver.opened);
        EXPECT_EQ(hid.openHandles(), 0);
    }
    EXPECT_EQ(hid.featureReports().size(), 3u) << "a start report only for each receiver opened";
}

TEST_F(EnumerationTest, EveryPresentInterfaceIsExaminedUpToTheFourthFeatureInterface) {
    // The input interface behind the fourth feature interface is never seen.
    EXPECT_EQ(openAmong({receiverFeature("f1"), receiverFeature("f2"), receiverFeature("f3"),
                         receiverFeature("f4"), receiverInput()}),
              0);
    EXPECT_EQ(hid.tally().highestIndexAsked, 3u);

    // A PC with many HID collections: the receiver behind 30 other interfaces.
    Interfaces crowd = others(30);
    crowd.push_back(receiverInput());
    crowd.push_back(receiverFeature());
    const int opensBefore = hid.tally().opens;
    EXPECT_EQ(openAmong(crowd), 1);
    EXPECT_EQ(hid.tally().highestIndexAsked, 32u) << "the scan ends where the list ends";
    EXPECT_EQ(hid.tally().opens - opensBefore, 33) << "32 examined, the input interface reopened";
}

TEST_F(EnumerationTest, AnInterfaceThatFailsACallIsSkippedAndTheScanGoesOn) {
    // A device path too long for the detail buffer fails the detail call;
    // a device that does not answer for its attributes fails that call.
    FakeInterface longPath = otherDevice(std::string(1100, 'p'));
    FakeInterface silent = otherDevice("silent");
    silent.attributesFail = true;
    EXPECT_EQ(openAmong({longPath, silent, receiverInput(), longPath, silent, receiverFeature()}), 1);
    EXPECT_EQ(hid.tally().highestIndexAsked, 6u);
}

}  // namespace
}  // namespace pendant_testing
