// Sending data to the receiver in feature reports and reading its status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pendant/device_fixture.h"

namespace pendant_testing {
namespace {

using pendant::device;
using Reports = std::vector<Report>;

class FeatureReportTest : public DeviceTest {
protected:
    // The reports a send of `length` bytes (1, 2, 3, ...) produced.
    Reports sent(int length, int expectedResult = 1) {
        std::vector<BYTE> data(length > 0 ? length : 1);
        for (int i = 0; i < length; ++i) data[i] = static_cast<BYTE>(i + 1);
        hid.clearFeatureReports();
        EXPECT_EQ(device().sendFeatureData(data.data(), length), expectedResult);
        return hid.featureReports();
    }
};

TEST_F(FeatureReportTest, DataGoesOutInSevenBytePiecesBehindReportIdSix) {
    openReceiver();
    EXPECT_TRUE(sent(0).empty());
    EXPECT_EQ(sent(7), (Reports{{6, 1, 2, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(sent(8), (Reports{{6, 1, 2, 3, 4, 5, 6, 7}, {6, 8, 0, 0, 0, 0, 0, 0}}));

    std::string frame;
    for (int i = 1; i <= 62; ++i) frame += static_cast<char>(i);
    EXPECT_EQ(payloadOf(sent(62)), frame + '\0');

    // The length is taken as one byte.
    EXPECT_EQ(sent(256 + 7).size(), 1u);
    EXPECT_TRUE(sent(256).empty());
}

TEST_F(FeatureReportTest, AFailedReportEndsTheSend) {
    openReceiver();
    hid.failFeatureWritesFrom(2);
    EXPECT_EQ(sent(20, 0).size(), 1u);
    hid.failFeatureWritesFrom(1);
    EXPECT_TRUE(sent(3, 0).empty());
}

TEST_F(FeatureReportTest, ASendOpensAClosedReceiverFirstAndFailsWithoutOne) {
    EXPECT_TRUE(sent(1, 0).empty());
    EXPECT_TRUE(sent(0, 0).empty());

    hid.plugIn({receiverInput(), receiverFeature()});
    const BYTE data[2] = {0xA9, 0xA9};
    EXPECT_EQ(device().sendFeatureData(data, 2), 1);
    EXPECT_EQ(device().connected, 1);
    const Reports reports = hid.featureReports();
    ASSERT_EQ(reports.size(), 2u) << "start report, then the data";
    EXPECT_EQ(reports[0][1], 0xFE);
    EXPECT_EQ(reports[1], (Report{6, 0xA9, 0xA9, 0, 0, 0, 0, 0}));
}

TEST_F(FeatureReportTest, StatusIsReadFromTheFeatureInterfaceIntoAGivenBuffer) {
    hid.plugIn({receiverInput(), receiverFeature()});
    BYTE buffer[8] = {6};
    EXPECT_EQ(device().getFeatureReport(nullptr, 8), 0);
    EXPECT_EQ(device().getFeatureReport(buffer, 0), 0);
    EXPECT_EQ(device().getFeatureReport(buffer, 256), 0);
    EXPECT_EQ(hid.tally().opens, 0) << "the device was not touched";
    EXPECT_EQ(hid.tally().featureReads, 0);

    EXPECT_EQ(device().getFeatureReport(buffer, 8), 1);
    EXPECT_EQ(buffer[1], 0x11);
    EXPECT_EQ(buffer[6], 0x66);
    EXPECT_EQ(device().connected, 1) << "opened on demand";
}

}  // namespace
}  // namespace pendant_testing
