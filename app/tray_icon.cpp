#include "app/tray_icon.h"

#include <shellapi.h>

#include <cstring>

#include "app/dialog.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"

namespace app {
namespace {

// The record in its first form, which every Windows version takes.
NOTIFYICONDATAA trayRecord(HWND mainWindow, HICON icon, const char* tip) {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = mainWindow;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = WM_TRAY_NOTIFY;
    record.hIcon = icon;
    if (tip) {
        std::strncpy(record.szTip, tip, sizeof record.szTip - 1);
        record.szTip[sizeof record.szTip - 1] = '\0';
    }
    return record;
}

}  // namespace

TrayState chooseTrayState(int connected, int linkEnabled, int hostFound) {
    if (!connected) return {IDI_TRAY_NO_LINK, "Please Insert Usb Controller!"};
    if (!linkEnabled) return {hostFound ? IDI_TRAY_LOCKED : IDI_TRAY_NO_LINK, "Lock!"};
    return hostFound ? TrayState{IDI_TRAY_ACTIVE, "QVT MP40 Driver"} : TrayState{IDI_TRAY_IDLE, "Idle!"};
}

HICON loadIcon(int iconId) { return LoadIconA(resourceModule(), MAKEINTRESOURCEA(iconId)); }

void addTrayIcon(HWND mainWindow) {
    // A copy of its own, so that it can be destroyed once the tray has it.
    auto icon = static_cast<HICON>(
        LoadImageA(resourceModule(), MAKEINTRESOURCEA(IDI_TRAY_ACTIVE), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    NOTIFYICONDATAA record = trayRecord(mainWindow, icon, "QVT Tec.");
    Shell_NotifyIconA(NIM_ADD, &record);
    DestroyIcon(icon);
}

void setTrayState(HWND mainWindow, HICON& windowIcon, int iconId, const char* tip) {
    windowIcon = loadIcon(iconId);
    SendMessageA(mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon));
    SendMessageA(mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon));
    NOTIFYICONDATAA record = trayRecord(mainWindow, windowIcon, tip);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void deleteTrayIcon(HWND mainWindow, int iconId) {
    NOTIFYICONDATAA record = trayRecord(mainWindow, loadIcon(iconId), nullptr);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

void showControlMenu(HWND mainWindow) {
    HMENU menu = LoadMenuA(resourceModule(), MAKEINTRESOURCEA(IDR_CONTROL_MENU));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetForegroundWindow(mainWindow);
    CheckMenuItem(popup, ID_LOCK, MF_BYCOMMAND | (state().linkEnabled == 0 ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, mainWindow, nullptr);
    DestroyMenu(menu);
}

}  // namespace app
