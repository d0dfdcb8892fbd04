#include "app/device_status_dialog.h"

#include <cstdio>

#include "app/data_exchange.h"
#include "app/resources/resource_ids.h"
#include "pendant/pendant_device.h"

namespace app {
namespace {

constexpr UINT_PTR kStatusTimer = 19;
constexpr UINT kStatusPeriodMs = 2000;
constexpr BYTE kStatusReportId = 6;
constexpr BYTE kRepairToolSetter = 0x16;
constexpr BYTE kRepairHandwheel = 0x26;

}  // namespace

std::string deviceStatusText(const BYTE report[8]) {
    char text[128];
    std::snprintf(text, sizeof text, "手轮工作频道:%3d,对刀器工作频道:%3d\n手轮ID:%x,对刀器ID:%x", report[1], report[2],
                  report[3] + 256 * report[5], report[4] + 256 * report[6]);
    return text;
}

DeviceStatusDialog::DeviceStatusDialog(HWND parent) : Dialog(IDD_DEVICE_STATUS, parent) {}

void DeviceStatusDialog::doDataExchange(DataExchange& exchange) { exchange.text(IDC_STATUS_TEXT, statusText_); }

BOOL DeviceStatusDialog::onInitDialog() {
    const BOOL result = Dialog::onInitDialog();
    timerId_ = SetTimer(window(), kStatusTimer, kStatusPeriodMs, nullptr);
    return result;
}

bool DeviceStatusDialog::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_TIMER:
        PostMessageA(window(), WM_STATUS_READ, 0, 0);
        return false;
    case WM_STATUS_READ:
        readStatus();
        return true;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return false;
        if (LOWORD(wParam) == IDC_REPAIR_TOOL_SETTER) {
            sendRepairCommand(kRepairToolSetter);
            return true;
        }
        if (LOWORD(wParam) == IDC_REPAIR_HANDWHEEL) {
            sendRepairCommand(kRepairHandwheel);
            return true;
        }
        return false;
    case WM_DESTROY:
        if (timerId_ != 0) KillTimer(window(), kStatusTimer);
        timerId_ = 0;
        return false;
    default:
        return false;
    }
}

void DeviceStatusDialog::readStatus() {
    pendant::PendantDevice& receiver = pendant::device();
    if (!receiver.connected) return;
    BYTE report[8] = {kStatusReportId};
    if (!receiver.getFeatureReport(report, sizeof report)) return;
    statusText_ = deviceStatusText(report);
    updateData(false);
}

void DeviceStatusDialog::sendRepairCommand(BYTE device) {
    pendant::PendantDevice& receiver = pendant::device();
    if (receiver.connected) {
        const BYTE command[3] = {0xA9, 0xA9, device};
        statusText_ = receiver.sendFeatureData(command, sizeof command) ? "下载命令成功!" : "下载命令失败!";
    } else {
        statusText_ = "请插入USB!";
    }
    updateData(false);
}

}  // namespace app
