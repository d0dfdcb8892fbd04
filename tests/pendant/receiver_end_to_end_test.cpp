// The receiver of this process opened on the virtual receiver, with the
// stand-in pendant at the other end of the pipe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
};

TEST_F(ReceiverEndToEndTest, OpeningSendsTheStartReportAndAFrameReachesThePendantsDisplay) {
    SYSTEMTIME before, after;
    GetSystemTime(&before);
    ASSERT_EQ(pendant::device().openDevice(nullptr), 1);
    GetSystemTime(&after);
    const std::string lines[3] = {"    Jog    ", "X:12.500:0      ", "F:0     S:0     "};
    const std::string frame = "\xFE\xFD\x07" + lines[0] + lines[1] + lines[2] + std::string(16, ' ');
    ASSERT_EQ(pendant::device().sendFeatureData(reinterpret_cast<const BYTE*>(frame.data()), 62), 1);

    ASSERT_TRUE(written.waitFor(10));  // the start report and nine pieces
    Sleep(50);
    const std::vector<Report> reports = written.reports();
    ASSERT_EQ(reports.size(), 10u);
    const BYTE day = reports[0][3];
    EXPECT_TRUE(day == static_cast<BYTE>(before.wDay) || day == static_cast<BYTE>(after.wDay));
    EXPECT_EQ(reports[0], (Report{6, 0xFE, 0xFD, day, 0x20, 0x20, 0x20, 0x20}));
    standin::DisplayAssembler display;
    standin::DisplayAssembler::Outcome last{};
    for (const Report& report : reports) last = display.add(report);
    EXPECT_EQ(last, standin::DisplayAssembler::Outcome::FrameComplete);
    EXPECT_EQ(display.display().day, 7);
    for (int line = 0; line < 3; ++line) EXPECT_EQ(display.display().lines[line], lines[line]);
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
