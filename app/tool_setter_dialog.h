#pragma once
// The tool-setter settings: whether the wireless tool setter is in use and
// its height, read from the profile when the dialog opens and written on OK.
// The enable box acts at once, also when the dialog is cancelled later.
#include "app/dialog.h"

namespace app {

class ToolSetterDialog : public Dialog {
public:
    explicit ToolSetterDialog(HWND parent);

    double height() const { return height_; }

protected:
    BOOL onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void onOK() override;

private:
    void onEnableClicked();

    double height_ = 0;
};

}  // namespace app
