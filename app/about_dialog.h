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

private:
    std::string title_;
};

}  // namespace app
