#include "app/dialog.h"

#include "app/data_exchange.h"

namespace app {
namespace {

// The dialog whose window is being created on this thread: it takes its
// window at the first message its procedure gets (WM_SETFONT or
// WM_INITDIALOG).
thread_local Dialog* dialogBeingCreated = nullptr;

const char* const kDialogProperty = "wheelpad.dialog";

}  // namespace

HINSTANCE resourceModule() { return GetModuleHandleA(nullptr); }

Dialog::Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

// A dialog still there is destroyed without its handlers: the derived parts
// of this object are gone by now.
Dialog::~Dialog() {
    if (!window_) return;
    RemovePropA(window_, kDialogProperty);
    DestroyWindow(window_);
}

bool Dialog::create() {
    ended_ = false;
    result_ = -1;
    dialogBeingCreated = this;
    HWND made = CreateDialogParamA(resourceModule(), MAKEINTRESOURCEA(templateId_), parent_, dialogProc, 0);
    dialogBeingCreated = nullptr;
    if (!made) {
        window_ = nullptr;
        return false;
    }
    window_ = made;
    return true;
}

void Dialog::destroy() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
}

INT_PTR Dialog::doModal() {
    const bool parentWasEnabled = parent_ && IsWindowEnabled(parent_);
    if (!create()) return -1;
    if (parentWasEnabled) EnableWindow(parent_, FALSE);
    if (!ended_) {
        if (shownWhenRun()) ShowWindow(window_, SW_SHOWNORMAL);
        runModalLoop();
    }
    // The parent comes back before the dialog goes, so that it takes the
    // activation.
    if (parentWasEnabled) EnableWindow(parent_, TRUE);
    destroy();
    return result_;
}

void Dialog::runModalLoop() {
    MSG message;
    while (!ended_) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT: passed on to the loop outside once this one ends.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        if (preTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Dialog::endDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
    // Wakes the modal loop should it be waiting.
    if (window_) PostMessageA(window_, WM_NULL, 0, 0);
}

bool Dialog::updateData(bool saveAndValidate) {
    DataExchange exchange(window_, saveAndValidate);
    doDataExchange(exchange);
    return !exchange.failed();
}

BOOL Dialog::onInitDialog() {
    updateData(false);
    return TRUE;
}

void Dialog::doDataExchange(DataExchange&) {}

bool Dialog::onMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Dialog::preTranslateMessage(MSG& message) {
    return window_ && IsDialogMessageA(window_, &message);
}

void Dialog::onOK() {
    if (!updateData(true)) return;
    endDialog(IDOK);
}

void Dialog::onCancel() { endDialog(IDCANCEL); }

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<Dialog*>(GetPropA(window, kDialogProperty));
    if (!dialog && dialogBeingCreated) {
        dialog = dialogBeingCreated;
        dialogBeingCreated = nullptr;
        dialog->window_ = window;
        SetPropA(window, kDialogProperty, dialog);
        dialog->onCreate();
    }
    if (!dialog) return FALSE;
    const INT_PTR handled = dialog->dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kDialogProperty);
        dialog->window_ = nullptr;
    }
    return handled;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (onMessage(message, wParam, lParam, result)) {
        // Messages whose result is the procedure's own return value.
        switch (message) {
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
        case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrA(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
            if (LOWORD(wParam) == IDOK) {
                onOK();
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                onCancel();
                return TRUE;
            }
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace app
