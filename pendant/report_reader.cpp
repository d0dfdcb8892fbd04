#include "pendant/report_reader.h"

#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"

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
    // A report read as the link closes is dropped; the link's release covers
    // a key it may have held.
    if (!device().beginKeyAction()) return true;
    dispatchKeyEvent(wheelDelta, keyWord);
    device().endKeyAction();
    return true;
}

}  // namespace pendant
