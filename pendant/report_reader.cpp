#include "pendant/report_reader.h"

#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr BYTE kInputReportId = 4;

}  // namespace

bool readReport() {
    BYTE report[8] = {kInputReportId};
    switch (device().readInputReport(report)) {
        case InputRead::Failed:
            return false;
        case InputRead::Stopped:
            return true;
        case InputRead::Report:
            break;
    }
    int wheelDelta = 0;
    int keyWord = 0;
    decodeInputReport(report, wheelDelta, keyWord);
    platform::logAt(platform::LogLevel::Reports, "input report %02X %02X %02X %02X %02X %02X %02X %02X", report[0],
                    report[1], report[2], report[3], report[4], report[5], report[6], report[7]);
    // A report read as the link closes is dropped; the link's release covers
    // a key it may have held.
    if (!device().beginKeyAction()) return true;
    dispatchKeyEvent(wheelDelta, keyWord);
    device().endKeyAction();
    return true;
}

}  // namespace pendant
