// The receiver of this process opened on the virtual receiver, with the
// stand-in pendant at the other end of the pipe.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/process_state.h"
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "standin/pendant/display_assembler.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace {

using standin::Report;

class ReceiverEndToEndTest : public testing_support::PendantPipeFixture {
protected:
    void SetUp() override {
        PendantPipeFixture::SetUp();
        app::state().linkUp = 0;
        app::state().linkEnabled = 1;
        pendant::installHid(&receiver);
    }

    void TearDown() override {
        pendant::device().closeDevice();
        pendant::installHid(nullptr);
    }

    static BYTE utcDay() {
        SYSTEMTIME now;
        GetSystemTime(&now);
        return static_cast<BYTE>(now.wDay);
    }
};

TEST_F(ReceiverEndToEndTest, OpeningSendsTheStartReportToThePendant) {
    BYTE dayBefore = utcDay();
    ASSERT_EQ(1, pendant::device().openDevice(nullptr));
    BYTE dayAfter = utcDay();
    EXPECT_EQ(1, pendant::device().connected);

    ASSERT_TRUE(written.waitFor(1));
    Sleep(50);
    std::vector<Report> reports = written.reports();
    ASSERT_EQ(1u, reports.size());
    Report start = reports[0];
    EXPECT_TRUE(start[3] == dayBefore || start[3] == dayAfter);
    EXPECT_EQ((Report{6, 0xFE, 0xFD, start[3], 0x20, 0x20, 0x20, 0x20}), start);
}

TEST_F(ReceiverEndToEndTest, AFrameSentReachesThePendantsDisplay) {
    ASSERT_EQ(1, pendant::device().openDevice(nullptr));
    std::string frame = "\xFE\xFD\x07";
    frame += "    Jog    ";
    frame += "X:12.500:0      ";
    frame += "F:0     S:0     ";
    frame += "                ";
    ASSERT_EQ(62u, frame.size());
    ASSERT_EQ(1, pendant::device().sendFeatureData(reinterpret_cast<const BYTE*>(frame.data()), 62));

    ASSERT_TRUE(written.waitFor(10));  // the start report and nine pieces
    standin::DisplayAssembler display;
    using Outcome = standin::DisplayAssembler::Outcome;
    std::vector<Outcome> outcomes;
    for (const Report& report : written.reports()) outcomes.push_back(display.add(report));
    ASSERT_EQ(10u, outcomes.size());
    EXPECT_EQ(Outcome::FrameComplete, outcomes.back());
    EXPECT_EQ(7, display.display().day);
    EXPECT_EQ("    Jog    ", display.display().lines[0]);
    EXPECT_EQ("X:12.500:0      ", display.display().lines[1]);
    EXPECT_EQ("F:0     S:0     ", display.display().lines[2]);
}

TEST_F(ReceiverEndToEndTest, UnpluggingTakesTheLinkDownAndTheReceiverOpensAgain) {
    ASSERT_EQ(1, pendant::device().openDevice(nullptr));
    app::state().linkUp = 1;
    Sleep(100);  // the reader is waiting in its read

    pendant.dropReceiver();
    for (int wait = 0; wait < 40 && app::state().linkUp; ++wait) Sleep(50);
    EXPECT_EQ(0, app::state().linkUp);

    DWORD started = GetTickCount();
    pendant::device().closeDevice();
    EXPECT_LT(GetTickCount() - started, 2000u);
    int opened = 0;
    for (int attempt = 0; attempt < 20 && !opened; ++attempt) {
        opened = pendant::device().openDevice(nullptr);
        if (!opened) Sleep(100);
    }
    ASSERT_EQ(1, opened);
    ASSERT_TRUE(written.waitFor(2));  // a start report for each opening
}

}  // namespace
