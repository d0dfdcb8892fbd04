#pragma once
// The receiver's radio status: the channels and ids of the handwheel and the
// tool setter, read from the receiver 2 s after the dialog opens and every
// 2 s after; and the re-pair commands for either.
#include <windows.h>

#include <string>

#include "app/dialog.h"

namespace app {

// Posted to the dialog by its timer: read the status.
constexpr UINT WM_STATUS_READ = 1405;

class DeviceStatusDialog : public Dialog {
public:
    explicit DeviceStatusDialog(HWND parent);

    const std::string& statusText() const { return statusText_; }

protected:
    BOOL onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void readStatus();
    void sendRepairCommand(BYTE device);

    std::string statusText_;
    UINT_PTR timerId_ = 0;
};

// The status text for a status report (report id in byte 0).
std::string deviceStatusText(const BYTE report[8]);

}  // namespace app
