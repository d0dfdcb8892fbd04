#include "app/main_dialog.h"

#include <string>

#include "app/about_dialog.h"
#include "app/bridge_binding.h"
#include "app/device_status_dialog.h"
#include "app/data_exchange.h"
#include "app/lock_toggles.h"
#include "app/message_box.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"
#include "app/settings.h"
#include "app/tool_setter_dialog.h"
#include "app/tray_icon.h"
#include "pendant/display_frame.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "platform/support_log.h"

namespace app {
namespace {

constexpr UINT_PTR kTickTimer = 16;
constexpr UINT kTickMs = 200;
constexpr int kTicksPerRefresh = 2;
constexpr int kLockHotkey = 1001;

void addAboutItemToSystemMenu(HWND window) {
    char text[128] = {};
    if (LoadStringA(resourceModule(), IDS_ABOUT_ITEM, text, sizeof text) <= 0) return;
    HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (!systemMenu) return;
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void resetProcessState(HWND mainWindow) {
    ProcessState& process = state();
    process.hostThreadId = 0;
    process.hostProcessId = 0;
    process.aboutText = "QVT MP40 Driver For Weihong CNC";
    process.hostFound = 0;
    process.linkEnabled = 1;
    process.hotkeyLock = 0;
    process.menuLock = 0;
    process.attachedThreadId = 0;
    process.hostWindow = nullptr;
    process.keyActivity = 0;
    process.forceFrame = 0;
    process.mainWindow = mainWindow;
    process.hostExePath.clear();
    process.verFlag = 0;
    pendant::resetPolling();
    pendant::resetDisplay();
}

// Said once at the start, where the operator looks: a lock that is not one
// chord away, a tool setter that stays off.
void tellStartProblems(HWND mainWindow, bool hotkeyTaken, bool heightUnreadable) {
    std::string text;
    if (hotkeyTaken) text += kHotkeyTakenText;
    if (heightUnreadable) text += std::string(text.empty() ? "" : "\n\n") + kHeightUnreadableText;
    if (!text.empty()) showMessageBox(mainWindow, text.c_str(), kInsertReceiverCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

MainDialog::MainDialog() : Dialog(IDD_MAIN, nullptr), windowIcon_(loadIcon(IDI_TRAY_ACTIVE)) {}

MainDialog::~MainDialog() { destroy(); }

void MainDialog::onCreate() { addTrayIcon(window()); }

BOOL MainDialog::onInitDialog() {
    Dialog::onInitDialog();
    HWND self = window();
    addAboutItemToSystemMenu(self);
    SendMessageA(self, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(windowIcon_));
    SendMessageA(self, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon_));
    tickCounter_ = 0;
    tickGuard_ = false;
    exiting_ = false;
    refreshPending_ = false;
    discovery_ = HostDiscovery();
    resetProcessState(self);

    // The program starts locked when no receiver is plugged in.
    ProcessState& process = state();
    pendant::PendantDevice& receiver = pendant::device();
    receiver.closeDevice();
    process.linkUp = receiver.openDevice(self);
    if (!process.linkUp) process.linkEnabled = 0;
    receiver.registerDeviceNotification(self);
    ensureBridgeLoaded();
    const bool hotkeyTaken = !RegisterHotKey(self, kLockHotkey, MOD_CONTROL, VK_F11);
    registerAutostart(self);
    if (!pendant::createRefreshEvent()) {
        showMessageBox(self, kRegisterErrorText, applicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    pendant::startPolling();
    timerId_ = SetTimer(self, kTickTimer, kTickMs, nullptr);
    trayIconId_ = IDI_TRAY_ACTIVE;
    const bool heightUnreadable = !readToolSetterSettings();
    tellStartProblems(self, hotkeyTaken, heightUnreadable);
    return TRUE;
}

bool MainDialog::preTranslateMessage(MSG& message) {
    if (message.message == kDroppedMessage) return true;
    return Dialog::preTranslateMessage(message);
}

bool MainDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
        if (!exiting_) AboutDialog(window()).doModal();
        return true;
    case WM_PAINT:
        onPaint();
        return IsIconic(window()) != FALSE;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(windowIcon_);
        return true;
    case WM_DESTROY:
        onDestroy();
        return false;
    case WM_TIMER:
        onTick();
        return true;
    case WM_DISPLAYCHANGE:
        return true;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam));
    case WM_HOTKEY:
        if (!exiting_) toggleLockFromHotkey(window());
        return true;
    case WM_TRAY_NOTIFY:
        onTrayNotify(wParam, lParam);
        return true;
    case WM_STATE_REFRESH:
        refreshStep();
        return true;
    case WM_DEVICECHANGE:
        result = pendant::device().onDeviceChange(wParam, lParam);
        return true;
    default:
        return false;
    }
}

// After Exit the link is stopped for good: no command may open it again.
bool MainDialog::onCommand(WORD command) {
    if (exiting_) return true;
    switch (command) {
    case ID_ABOUT: {
        AboutDialog about(window());
        runMenuDialog(about);
        return true;
    }
    case ID_LOCK:
        toggleLockFromMenu(window());
        return true;
    case ID_EXIT:
        onExit();
        return true;
    case ID_MATE: {
        DeviceStatusDialog status(window());
        runMenuDialog(status);
        return true;
    }
    case ID_PROBE_SET: {
        ToolSetterDialog toolSetter(window());
        runMenuDialog(toolSetter);
        return true;
    }
    case ID_NO_ACTION:
        return true;
    case IDCANCEL:
        platform::logEvent("main window closed (Windows ends the program)");
        return false;
    default:
        return false;
    }
}

// The tray menu still works while a dialog of it is open.
void MainDialog::runMenuDialog(Dialog& dialog) {
    Dialog* const outer = openDialog_;
    openDialog_ = &dialog;
    dialog.doModal();
    openDialog_ = outer;
}

// Minimised, the dialog draws its icon; any other paint hides it.
void MainDialog::onPaint() {
    HWND self = window();
    if (!IsIconic(self)) {
        ShowWindow(self, SW_HIDE);
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(self, &paint);
    SendMessageA(self, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(self, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, windowIcon_);
    EndPaint(self, &paint);
}

void MainDialog::onTick() {
    if (tickGuard_ || exiting_) return;
    tickGuard_ = true;
    if (++tickCounter_ >= kTicksPerRefresh) {
        tickCounter_ = 0;
        if (!refreshPending_) {
            PostMessageA(window(), WM_STATE_REFRESH, 0, 0);
            refreshPending_ = true;
        }
    }
    ProcessState& process = state();
    if (!process.linkEnabled) {
        if (process.hostFound) callEnableMap(0);
        process.hostFound = 0;
    }
    tickGuard_ = false;
}

void MainDialog::refreshStep() {
    if (exiting_) return;
    HWND self = window();
    pendant::device().reconnectStep(self);
    ProcessState& process = state();
    const int connected = pendant::device().connected;
    if (!connected) {
        refreshPending_ = false;
        const TrayState tray = chooseTrayState(connected, process.linkEnabled, process.hostFound);
        if (trayIconId_ != tray.iconId) showTrayState(tray.iconId, tray.tip);
        return;
    }
    // Discovery first: while locked, the tick turns mapping off on every
    // tick, and only discovery finds NcStudio in front again for this step.
    discovery_.discover(GetForegroundWindow());
    const TrayState tray = chooseTrayState(connected, process.linkEnabled, process.hostFound);
    if (tray.iconId != trayIconId_) {
        showTrayState(tray.iconId, tray.tip);
        if (tray.iconId == IDI_TRAY_ACTIVE) process.forceFrame = 1;
    }
    refreshPending_ = false;
}

void MainDialog::showTrayState(int iconId, const char* tip) {
    trayIconId_ = iconId;
    setTrayState(window(), windowIcon_, iconId, tip);
}

void MainDialog::onTrayNotify(WPARAM iconId, LPARAM mouseMessage) {
    if (iconId != kTrayIconId) return;
    if (mouseMessage == WM_RBUTTONUP) showControlMenu(window());
}

void MainDialog::onExit() {
    platform::logEvent("Exit chosen");
    exiting_ = true;
    pendant::stopPolling();
    pendant::closeRefreshEvent();
    // A dialog of the menu still open ends first; its loop then returns
    // to this one, which ends too.
    if (openDialog_) openDialog_->endDialog(IDCANCEL);
    endDialog(IDCANCEL);
}

void MainDialog::onDestroy() {
    pendant::stopPolling();
    HWND self = window();
    if (timerId_ != 0) KillTimer(self, kTickTimer);
    timerId_ = 0;
    deleteTrayIcon(self, trayIconId_);
    UnregisterHotKey(self, kLockHotkey);
    freeBridge();
}

}  // namespace app
