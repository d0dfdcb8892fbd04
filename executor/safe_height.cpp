#include "executor/safe_height.h"

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "executor/chords.h"
#include "executor/executor_common.h"
#include "executor/remote_list_view.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace executor {
namespace {

constexpr int kMainFrameId = 59648;
constexpr int kManualTabsId = 59664;
constexpr int kSafeHeightGroupId = 4643;
constexpr int kParametersTries = 100;
constexpr int kFirstParameterRow = 17;
constexpr int kLastParameterRow = 36;
constexpr int kNameColumn = 1;
constexpr int kValueColumn = 2;
constexpr double kDefaultSafeHeight = 11.0;

// Control 4643 of the first "#32770" page of the manual tabs that has one.
HWND safeHeightGroup() {
    HWND tabs = bridge::childChain(bridge::block().hostWindow, {kMainFrameId, kMainFrameId, kManualTabsId});
    HWND page = bridge::nextChildOfClass(tabs, nullptr, "#32770");
    HWND group = page ? GetDlgItem(page, kSafeHeightGroupId) : nullptr;
    if (group) return group;
    page = bridge::nextChildOfClass(tabs, page, "#32770");
    return page ? GetDlgItem(page, kSafeHeightGroupId) : nullptr;
}

HWND waitForParametersWindow() {
    for (int attempt = 0; attempt < kParametersTries; ++attempt) {
        platform::sleepMs(kPostWaitMs);
        if (HWND window = bridge::findHostWindow("paramters")) return window;
    }
    platform::logEvent("\"paramters\" never opened: the safe height stays unknown");
    return nullptr;
}

// Rows 17 to 36: the first whose name column contains "SafeHeight" gives the
// value column. A failed copy between the processes ends the read with
// nothing learnt.
void readSafeHeightRow(HWND listView) {
    RemoteListView list(listView);
    if (!list.ready()) return platform::logEvent("parameters list view: NcStudio's memory not reachable");
    bridge::SharedBlock& b = bridge::block();
    char text[kCellTextSize];
    for (int row = kFirstParameterRow; row <= kLastParameterRow; ++row) {
        if (!list.cellText(row, kNameColumn, text)) return platform::logEvent("parameters list view: row %d not read", row);
        if (!bridge::contains(text, "SafeHeight")) continue;
        if (!list.cellText(row, kValueColumn, text)) return platform::logEvent("parameters list view: row %d not read", row);
        if (*text) {
            b.zBase = bridge::parseNumber(text);
            b.safeHeightKnown = 1;
        }
        break;
    }
    platform::logEvent(b.safeHeightKnown ? "safe height read: %f" : "no SafeHeight row: %f taken", b.safeHeightKnown ? b.zBase : kDefaultSafeHeight);
    if (!b.safeHeightKnown) {
        b.zBase = kDefaultSafeHeight;
        b.safeHeightKnown = 1;
    }
}

}  // namespace

std::string safeHeightTextGeneration1() {
    HWND group = safeHeightGroup();
    HWND label = group ? bridge::findSafeHeightLabel(group) : nullptr;
    HWND edit = label ? bridge::nextChildOfClass(group, label, "Edit") : nullptr;
    return edit ? bridge::readTextByMessage(edit) : "";
}

void readSafeHeightFromParameters() {
    postAltMenu('R');
    platform::sleepMs(kPostWaitMs);
    HWND window = waitForParametersWindow();
    if (!window) return;
    HWND listView = bridge::nextChildOfClass(window, nullptr, "SysListView32");
    ShowWindow(window, SW_HIDE);
    readSafeHeightRow(listView);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace executor
