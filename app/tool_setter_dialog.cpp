#include "app/tool_setter_dialog.h"

#include "app/data_exchange.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"
#include "app/settings.h"

namespace app {

ToolSetterDialog::ToolSetterDialog(HWND parent) : Dialog(IDD_TOOL_SETTER, parent) {
    readToolSetterSettings();
}

void ToolSetterDialog::doDataExchange(DataExchange& exchange) {
    exchange.number(IDC_TOOL_SETTER_HEIGHT, height_);
}

BOOL ToolSetterDialog::onInitDialog() {
    // The base exchange runs first with the height still 0; the settings'
    // values follow.
    Dialog::onInitDialog();
    const ProcessState& process = state();
    CheckDlgButton(window(), IDC_TOOL_SETTER_ENABLE, process.toolSetterEnabled ? BST_CHECKED : BST_UNCHECKED);
    height_ = process.toolSetterHeight;
    updateData(false);
    return TRUE;
}

bool ToolSetterDialog::onMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND || LOWORD(wParam) != IDC_TOOL_SETTER_ENABLE || HIWORD(wParam) != BN_CLICKED)
        return false;
    onEnableClicked();
    result = 0;
    return true;
}

void ToolSetterDialog::onEnableClicked() {
    const bool checked = IsDlgButtonChecked(window(), IDC_TOOL_SETTER_ENABLE) == BST_CHECKED;
    EnableWindow(GetDlgItem(window(), IDC_TOOL_SETTER_HEIGHT), checked);
    state().toolSetterEnabled = checked ? 1 : 0;
}

void ToolSetterDialog::onOK() {
    if (!updateData(true)) return;
    state().toolSetterHeight = height_;
    writeToolSetterSettings();
    endDialog(IDOK);
}

}  // namespace app
