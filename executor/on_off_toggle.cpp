#include "executor/on_off_toggle.h"

#include <cstring>

#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/button_search.h"
#include "executor/executor_common.h"

namespace executor {
namespace {

HWND buttonWithCaption(HWND panel, const char* wanted) {
    return firstButtonWhere(panel, [wanted](const char* caption) { return std::strcmp(caption, wanted) == 0; });
}

}  // namespace

void toggleOnOff() {
    HWND panel = bridge::coordinatePanel();
    if (!panel) return;
    bridge::SharedBlock& b = bridge::block();
    HWND button = nullptr;
    if (b.onOffShown == 1) {
        button = buttonWithCaption(panel, "OFF");
        if (b.onOffPending > 0) --b.onOffPending;
    } else {
        button = buttonWithCaption(panel, b.onOffPending > 0 ? "OFF" : "ON");
        ++b.onOffPending;
    }
    if (!button) button = buttonWithCaption(panel, "ON");
    bridge::postTo(button, WM_LBUTTONDOWN, MK_LBUTTON, kClickPoint);
    bridge::postTo(button, WM_LBUTTONUP, MK_LBUTTON, kClickPoint);
}

}  // namespace executor
