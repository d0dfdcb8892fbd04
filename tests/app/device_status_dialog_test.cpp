// The device-status dialog against a stand-in pendant on the virtual
// receiver: the status read every 2 s and the re-pair commands.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/device_status_dialog.h"
#include "app/resources/resource_ids.h"
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace {

class DeviceStatus : public testing_support::PendantPipeFixture {
protected:
    void SetUp() override {
        PendantPipeFixture::SetUp();
        pendant::installHid(&receiver);
        pendant.setStatus({1, 2, 0x1234, 0x5678});
        ASSERT_TRUE(pendant::device().openDevice(nullptr));
        ASSERT_TRUE(dialog.create());
    }

    void TearDown() override {
        dialog.destroy();
        pendant::device().closeDevice();
        pendant::installHid(nullptr);
    }

    std::string shown() {
        char text[256] = {};
        GetDlgItemTextA(dialog.window(), IDC_STATUS_TEXT, text, sizeof text);
        return text;
    }

    void click(int button) {
        SendMessageA(dialog.window(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.window(), button)));
    }

    app::DeviceStatusDialog dialog{nullptr};
};

const char* const kStatus = "手轮工作频道:  1,对刀器工作频道:  2\n手轮ID:1234,对刀器ID:5678";

TEST_F(DeviceStatus, TheStatusReportIsShownFromTheFirstTimerTickOn) {
    EXPECT_EQ(shown(), "");
    // The timer's tick posts the read to the dialog itself.
    SendMessageA(dialog.window(), WM_TIMER, 19, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, dialog.window(), app::WM_STATUS_READ, app::WM_STATUS_READ, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(shown(), kStatus);
    EXPECT_EQ(pendant.statusReads(), 1);

    // Without a receiver the text stays as it was.
    pendant::device().closeDevice();
    SendMessageA(dialog.window(), app::WM_STATUS_READ, 0, 0);
    EXPECT_EQ(shown(), kStatus);
    EXPECT_EQ(pendant.statusReads(), 1);
}

TEST_F(DeviceStatus, RepairCommandsGoToTheReceiverAndSayWhetherTheyWentOut) {
    const size_t before = written.reports().size();
    click(IDC_REPAIR_TOOL_SETTER);
    EXPECT_EQ(shown(), "下载命令成功!");
    click(IDC_REPAIR_HANDWHEEL);
    ASSERT_TRUE(written.waitFor(before + 2));
    const auto reports = written.reports();
    EXPECT_EQ(reports[before], (standin::Report{6, 0xA9, 0xA9, 0x16, 0, 0, 0, 0}));
    EXPECT_EQ(reports[before + 1], (standin::Report{6, 0xA9, 0xA9, 0x26, 0, 0, 0, 0}));

    // Unplugged: the receiver counts as open until a use fails.
    pendant.dropReceiver();
    for (int attempt = 0; attempt < 40 && shown() != "下载命令失败!"; ++attempt) {
        Sleep(50);
        click(IDC_REPAIR_HANDWHEEL);
    }
    EXPECT_EQ(shown(), "下载命令失败!");
    pendant::device().closeDevice();
    click(IDC_REPAIR_TOOL_SETTER);
    EXPECT_EQ(shown(), "请插入USB!");
}

}  // namespace
