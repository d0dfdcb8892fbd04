#include "app/about_dialog.h"

#include "app/data_exchange.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"

namespace app {
namespace {

constexpr LONG_PTR kStaticTypeBits = 0x0F;

}  // namespace

AboutDialog::AboutDialog(HWND parent) : Dialog(IDD_ABOUT, parent) {}

void AboutDialog::doDataExchange(DataExchange& exchange) {
    title_ = state().aboutText;
    exchange.text(IDC_ABOUT_TITLE, title_);
}

BOOL AboutDialog::onInitDialog() {
    const BOOL result = Dialog::onInitDialog();
    HWND picture = GetDlgItem(window(), IDC_ABOUT_PICTURE);
    const LONG_PTR style = GetWindowLongPtrA(picture, GWL_STYLE);
    SetWindowLongPtrA(picture, GWL_STYLE, (style & ~kStaticTypeBits) | SS_BITMAP | SS_CENTERIMAGE);
    picture_ = LoadImageA(resourceModule(), MAKEINTRESOURCEA(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, 0);
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
    return result;
}

// The bitmap goes once the static showing it has gone.
bool AboutDialog::onMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_NCDESTROY && picture_) {
        DeleteObject(picture_);
        picture_ = nullptr;
    }
    return false;
}

}  // namespace app
