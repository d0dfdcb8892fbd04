#include "executor/coordinate_dialog.h"

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/executor_common.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace executor {
namespace {

constexpr int kDialogTries = 50;
constexpr int kOffsetEditLimit = 10;
constexpr int kFirstAxisOffsetEdit = 3;
constexpr int kPublicOffsetsWithoutLabel = 6;

}  // namespace

void rightClick(HWND button) {
    PostMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, kClickPoint);
    PostMessageA(button, WM_RBUTTONUP, 0, kClickPoint);
    platform::sleepMs(kPostWaitMs);
}

void openCoordinateDialog() {
    HWND first = bridge::nextChildOfClass(bridge::coordinatePanel(), nullptr, "Button");
    if (first) rightClick(first);
}

HWND waitForCoordinateDialog(CoordinateDialogTitles titles) {
    for (int attempt = 0; attempt < kDialogTries; ++attempt) {
        platform::sleepMs(kPostWaitMs);
        HWND dialog = bridge::findHostWindow("Set current work coordinate:");
        if (!dialog && titles == CoordinateDialogTitles::Both) dialog = bridge::findHostWindow("Offset Setting");
        if (dialog) return dialog;
    }
    platform::logEvent("the work-coordinate dialog never opened");
    return nullptr;
}

HWND readOffsets(HWND dialog, int axis) {
    bridge::SharedBlock& b = bridge::block();
    HWND label = bridge::nextChildWithText(dialog, nullptr, "Public Offset");
    const int firstPublic = label ? 0 : kPublicOffsetsWithoutLabel;
    const int axisEdit = kFirstAxisOffsetEdit + axis - 1;
    bool publicShown = false;
    HWND target = nullptr;
    int number = 0;
    for (HWND edit = bridge::nextChildOfClass(dialog, label, "Edit"); edit && number < kOffsetEditLimit;
         edit = bridge::nextChildOfClass(dialog, edit, "Edit"), ++number) {
        const char* text = bridge::readTextByMessage(edit);
        if (!*text) continue;
        if (number >= firstPublic && number < firstPublic + 3) {
            b.publicOffset[number - firstPublic] = bridge::parseNumber(text);
            if (number - firstPublic == axis - 1) publicShown = true;
        } else if (number == axisEdit) {
            target = edit;
            // With the label the public offsets came first: Z's edit is the
            // last one needed.
            if (label && axis == 3) break;
        }
    }
    return publicShown ? target : nullptr;
}

void confirmCoordinateDialog(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }

}  // namespace executor
