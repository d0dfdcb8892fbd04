#pragma once
// wheelpad's main window: a dialog that hides itself when it first paints,
// so that the user sees only the tray icon. It starts the pendant link and
// the polling thread, registers the lock hotkey, keeps the receiver open and
// the tray state current on a 200 ms tick, looks for NcStudio on every
// second tick, and tears everything down when it is destroyed.
#include <windows.h>

#include "app/dialog.h"
#include "app/host_discovery.h"

namespace app {

// Posted by the tick: run the refresh step.
constexpr UINT WM_STATE_REFRESH = 1387;
// Dropped before it is dispatched.
constexpr UINT kDroppedMessage = 1201;

class MainDialog : public Dialog {
public:
    MainDialog();
    // A main dialog still there shuts down as when it is destroyed.
    ~MainDialog() override;

    int trayIconId() const { return trayIconId_; }
    HostDiscovery& discovery() { return discovery_; }

    // The refresh step: keeps the receiver open, shows the tray state and,
    // with a receiver, looks for NcStudio in the foreground window.
    void refreshStep();

protected:
    void onCreate() override;
    BOOL onInitDialog() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool preTranslateMessage(MSG& message) override;
    // Never shown: the user sees only the tray icon. (Shown, it would take
    // the foreground from the user's window until its first paint hid it.)
    bool shownWhenRun() const override { return false; }

private:
    void onTick();
    void onPaint();
    bool onCommand(WORD command);
    void onTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void runMenuDialog(Dialog& dialog);
    void onExit();
    void onDestroy();
    void showTrayState(int iconId, const char* tip);

    HICON windowIcon_;
    UINT_PTR timerId_ = 0;
    bool tickGuard_ = false;
    int tickCounter_ = 0;
    bool refreshPending_ = false;
    HostDiscovery discovery_;
    int trayIconId_ = 0;
    // Exit was chosen: the link is stopped and no command is taken any more.
    bool exiting_ = false;
    // The dialog of the menu now open (the menu works while it is), or none.
    Dialog* openDialog_ = nullptr;
};

}  // namespace app
