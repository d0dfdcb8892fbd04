#include "executor/feedrate_dialog.h"

#include <cstdio>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace executor {
namespace {

constexpr int kForegroundTries = 31;
constexpr DWORD kForegroundPollMs = 100;

}  // namespace

FeedrateDialog openFeedrateDialog(HWND feedButton) {
    PostMessageA(feedButton, BM_CLICK, 0, 0);
    for (int attempt = 0; attempt < kForegroundTries; ++attempt) {
        platform::sleepMs(kForegroundPollMs);
        HWND foreground = GetForegroundWindow();
        if (!bridge::belongsToHost(foreground) || !bridge::contains(bridge::readText(foreground), "Feedrate"))
            continue;
        FeedrateDialog dialog;
        dialog.window = foreground;
        dialog.feedEdit = bridge::nextChildOfClass(foreground, nullptr, "Edit");
        if (dialog.feedEdit) dialog.baseEdit = bridge::nextChildOfClass(foreground, dialog.feedEdit, "Edit");
        return dialog;
    }
    platform::logEvent("\"Feedrate\" never came to the front");
    return {};
}

std::string editText(HWND edit) { return edit ? bridge::readTextByMessage(edit) : ""; }

void writeFeedPercent(const FeedrateDialog& dialog, int percent) {
    if (!dialog.feedEdit || !dialog.baseEdit) return;
    const std::string base = editText(dialog.baseEdit);
    if (base.empty()) return;
    double feed = bridge::parseNumber(base.c_str());
    if (percent != 0) feed = percent * feed * 0.01;
    char text[64];
    std::snprintf(text, sizeof text, "%f", feed);
    bridge::writeEdit(dialog.feedEdit, text);
    platform::logEvent("feed %d %% of %s written: %s", percent, base.c_str(), text);
    bridge::SharedBlock& b = bridge::block();
    b.lastFeedText = text;
    b.feedPending = 1;
}

void closeFeedrateDialog(const FeedrateDialog& dialog) {
    PostMessageA(dialog.window, WM_COMMAND, IDOK, 0);
    PostMessageA(dialog.window, WM_CLOSE, 0, 0);
}

}  // namespace executor
