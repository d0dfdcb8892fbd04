#pragma once
// The dialog layer of wheelpad: a dialog made from a resource template, run
// modally by a message loop of its own (which gives each queued message to
// preTranslateMessage first), its messages dispatched to onMessage, and a
// data-exchange step between members and controls.
#include <windows.h>

namespace app {

class DataExchange;

class Dialog {
public:
    Dialog(int templateId, HWND parent);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, shows it and dispatches messages until endDialog;
    // then destroys it and gives endDialog's result (-1 when it could not be
    // created). The parent is disabled meanwhile.
    INT_PTR doModal();

    // Creates the dialog without showing it (onCreate, then WM_INITDIALOG):
    // the first step of doModal. False when it could not be created.
    bool create();
    // Destroys a dialog made by create (its WM_DESTROY handling runs).
    void destroy();

    HWND window() const { return window_; }
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }

    // Ends the modal loop with `result` (the dialog is destroyed after it).
    void endDialog(INT_PTR result);

    // Exchanges between members and controls: from the controls into the
    // members when `saveAndValidate`, else the other way. False when a
    // control held a value its member cannot take (the user was told).
    bool updateData(bool saveAndValidate);

protected:
    // The window exists, before its WM_INITDIALOG. (A dialog procedure never
    // sees WM_CREATE: it is attached after the window was created.)
    virtual void onCreate() {}
    // Base initialisation: members to the controls. The result is the
    // WM_INITDIALOG result (TRUE: the system sets the focus).
    virtual BOOL onInitDialog();
    virtual void doDataExchange(DataExchange& exchange);
    // A message for this dialog; true when handled, with `result` the value
    // the message returns. Unhandled messages get the dialog's default
    // processing.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A queued message before it is dispatched; true when it was handled and
    // must not be dispatched.
    virtual bool preTranslateMessage(MSG& message);
    // IDOK: members from the controls, then the dialog ends with IDOK.
    virtual void onOK();
    // IDCANCEL (also Esc and the title bar's close): ends with IDCANCEL.
    virtual void onCancel();
    // Whether doModal shows the dialog.
    virtual bool shownWhenRun() const { return true; }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void runModalLoop();

    const int templateId_;
    const HWND parent_;
    HWND window_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = -1;
};

// The module whose resources the dialogs, icons and menus come from.
HINSTANCE resourceModule();

}  // namespace app
