#pragma once
// The tray icon: wheelpad's only visible face. One icon, identified by the
// main window and id 128 whatever image it shows; its image and tip show the
// link and lock state. A right click on it opens the control menu.
#include <windows.h>

namespace app {

// The message the tray sends to the main window: wParam the icon id, lParam
// the mouse message.
constexpr UINT WM_TRAY_NOTIFY = 1140;
constexpr UINT kTrayIconId = 128;

// Image and tip of one tray state.
struct TrayState {
    int iconId;
    const char* tip;
};

// The state the refresh step shows: no receiver open, else by the lock and
// mapping flags.
TrayState chooseTrayState(int connected, int linkEnabled, int hostFound);

// Adds the icon (image 128, tip "QVT Tec.").
void addTrayIcon(HWND mainWindow);
// Shows image `iconId` with `tip`; the image also becomes the main window's
// icon, kept in `windowIcon`.
void setTrayState(HWND mainWindow, HICON& windowIcon, int iconId, const char* tip);
void deleteTrayIcon(HWND mainWindow, int iconId);

// The control menu at the cursor, its lock item checked while locked; the
// chosen command reaches the main window as WM_COMMAND.
void showControlMenu(HWND mainWindow);

HICON loadIcon(int iconId);

}  // namespace app
