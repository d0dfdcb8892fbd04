#pragma once
// The about box: the product title, the detected NcStudio version (aboutText)
// and a picture of the pendant.
#include "app/dialog.h"

#include <string>

namespace app {

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(HWND parent);

protected:
    BOOL onInitDialog() override;
    void doDataExchange(DataExchange& exchange) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::string title_;
    // The picture's bitmap: the static shows it but does not own it.
    HGDIOBJ picture_ = nullptr;
};

}  // namespace app
