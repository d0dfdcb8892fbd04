// The main dialog against a stand-in pendant on the virtual receiver and the
// recording ncbridge: start with and without a receiver, the tray states of
// the refresh step, the tick and both lock toggles. The dialog is created
// hidden; message boxes are answered by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <shellapi.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/application_profile.h"
#include "app/bridge_binding.h"
#include "app/main_dialog.h"
#include "app/message_box.h"
#include "app/pendant_app.h"
#include "app/process_state.h"
#include "app/resources/resource_ids.h"
#include "app/tray_icon.h"
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/pendant/pendant_pipe_fixture.h"
#include "tests/support/recording_bridge.h"

namespace {

using Calls = std::vector<std::string>;

std::vector<std::string> shownBoxes;

int recordBox(HWND, const char* text, const char*, UINT) {
    shownBoxes.push_back(text);
    return IDOK;
}

// Asks the notification area itself whether it holds the icon (window, 128).
bool trayHoldsIcon(HWND window) {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = app::kTrayIconId;
    record.uFlags = NIF_TIP;
    lstrcpyA(record.szTip, "QVT Tec.");
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// A device-interface notification naming `path`, as Windows gives an ANSI window.
std::vector<BYTE> interfaceNotice(const std::string& path) {
    std::vector<BYTE> notice(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + path.size() + 1);
    auto* header = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(notice.data());
    header->dbcc_size = static_cast<DWORD>(notice.size());
    header->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(header->dbcc_name, path.c_str(), path.size() + 1);
    return notice;
}

TEST(TrayState, ChosenFromTheReceiverTheLockAndTheMapping) {
    struct Case {
        int connected, linkEnabled, hostFound, icon;
        std::string tip;
    };
    const Case cases[] = {
        {0, 1, 1, IDI_TRAY_NO_LINK, "Please Insert Usb Controller!"},
        {1, 0, 0, IDI_TRAY_NO_LINK, "Lock!"},
        {1, 0, 1, IDI_TRAY_LOCKED, "Lock!"},
        {1, 1, 0, IDI_TRAY_IDLE, "Idle!"},
        {1, 1, 1, IDI_TRAY_ACTIVE, "QVT MP40 Driver"},
    };
    for (const Case& c : cases) {
        const app::TrayState state = app::chooseTrayState(c.connected, c.linkEnabled, c.hostFound);
        EXPECT_EQ(state.iconId, c.icon) << c.connected << c.linkEnabled << c.hostFound;
        EXPECT_EQ(state.tip, c.tip) << c.connected << c.linkEnabled << c.hostFound;
    }
}

TEST(SingleInstance, ASecondStartEndsAtOnceWithoutAWindow) {
    HANDLE first = CreateMutexA(nullptr, TRUE, app::kSingleInstanceMutex);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(app::PendantApp().initInstance(), TRUE);
    EXPECT_EQ(FindWindowA(nullptr, "RZWN-1.4"), nullptr);
    CloseHandle(first);
}

class MainWindow : public testing_support::PendantPipeFixture {
protected:
    void SetUp() override {
        shownBoxes.clear();
        app::installMessageBox(recordBox);
        pendant::installHid(&receiver);
        app::state().bridgeModule = nullptr;
        main = ncstudio.mainWindow("NcStudio V9.0");
    }

    void TearDown() override {
        dialog.reset();
        pendant::closeRefreshEvent();
        pendant::installHid(nullptr);
        app::installMessageBox(nullptr);
    }

    void start(bool withPendant = true) {
        if (withPendant) {
            ASSERT_TRUE(pendant.start());
        }
        dialog = std::make_unique<app::MainDialog>();
        ASSERT_TRUE(dialog->create());
    }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(dialog->window(), message, wParam, lParam);
    }

    // NcStudio bound and mapped, as host discovery leaves it.
    void bindNcStudio() {
        app::state().hostWindow = main;
        app::state().hostThreadId = host.threadId();
        app::state().hostProcessId = GetCurrentProcessId();
        app::state().hostFound = 1;
    }

    // The recorded calls of one export (the polling thread calls others).
    Calls callsOf(const std::string& name) {
        Calls selected;
        for (const std::string& call : bridge.calls())
            if (call.compare(0, name.size() + 1, name + " ") == 0) selected.push_back(call);
        return selected;
    }

    // The receiver pulled out (no pendant serves that pipe) or plugged in again.
    void plugReceiver(bool in) { pendant::installHid(in ? &receiver : &unplugged); }

    pendant::VirtualReceiver unplugged{freshPipeName()};
    testing_support::RecordingBridge bridge;
    standin::HostThread host;
    standin::NcStudioBuilder ncstudio{host};
    HWND main = nullptr;
    std::unique_ptr<app::MainDialog> dialog;
};

TEST_F(MainWindow, WithAReceiverItStartsActiveAndTheTrayFollowsTheMapping) {
    start();
    const app::ProcessState& state = app::state();
    EXPECT_EQ(state.linkUp, 1);
    EXPECT_EQ(state.linkEnabled, 1);
    EXPECT_EQ(state.mainWindow, dialog->window());
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_ACTIVE);
    EXPECT_FALSE(IsWindowVisible(dialog->window()));

    dialog->refreshStep();
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_IDLE);
    app::state().forceFrame = 0;
    bindNcStudio();
    dialog->refreshStep();
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_ACTIVE);
    EXPECT_EQ(state.forceFrame, 1) << "the display shows NcStudio at once";
    EXPECT_EQ(send(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(app::loadIcon(IDI_TRAY_ACTIVE)));
}

TEST_F(MainWindow, WithoutAReceiverItStartsLockedAndPluggingItInUnlocks) {
    start(false);
    EXPECT_EQ(app::state().linkUp, 0);
    EXPECT_EQ(app::state().linkEnabled, 0);
    dialog->refreshStep();
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_NO_LINK);

    ASSERT_TRUE(pendant.start());
    dialog->refreshStep();
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_IDLE);
    EXPECT_TRUE(shownBoxes.empty());
}

TEST_F(MainWindow, TheTickPostsOneRefreshEverySecondTickAndTurnsMappingOffWhileLocked) {
    start();
    MSG message;
    while (PeekMessageA(&message, dialog->window(), app::WM_STATE_REFRESH, app::WM_STATE_REFRESH, PM_REMOVE)) {
    }
    bindNcStudio();
    for (int tick = 0; tick < 5; ++tick) send(WM_TIMER, 16);
    int posted = 0;
    while (PeekMessageA(&message, dialog->window(), app::WM_STATE_REFRESH, app::WM_STATE_REFRESH, PM_REMOVE))
        ++posted;
    EXPECT_EQ(posted, 1) << "no second refresh while one is queued";
    EXPECT_TRUE(callsOf("EnableMap").empty());

    app::state().linkEnabled = 0;
    send(WM_TIMER, 16);
    send(WM_TIMER, 16);
    EXPECT_EQ(callsOf("EnableMap"), Calls{"EnableMap 0"});
    EXPECT_EQ(app::state().hostFound, 0);
}

TEST_F(MainWindow, TheHotkeyFlipsOnlyTheLockAndCannotUnlockWithoutAReceiver) {
    start();
    bindNcStudio();
    send(WM_HOTKEY, 1001);
    EXPECT_EQ(app::state().linkEnabled, 0);
    EXPECT_EQ(pendant::device().connected, 1);
    dialog->refreshStep();
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_LOCKED) << "locked while still mapped";
    send(WM_HOTKEY, 1001);
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(pendant::device().connected, 1) << "the receiver was never closed";

    // The menu's lock closes the receiver; the hotkey then cannot unlock.
    send(WM_COMMAND, ID_LOCK);
    EXPECT_EQ(pendant::device().connected, 0);
    dialog->refreshStep();
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_NO_LINK);
    EXPECT_EQ(app::state().linkEnabled, 0) << "no reopening while the link counts as up";
    send(WM_HOTKEY, 1001);
    EXPECT_EQ(app::state().linkEnabled, 0);
    EXPECT_EQ(shownBoxes, std::vector<std::string>{"Please Insert Usb Controller!"});
}

TEST_F(MainWindow, TheMenuUnlocksByReopeningTheReceiverAndADeviceChangeAlsoUnlocks) {
    start(false);
    send(WM_COMMAND, ID_LOCK);
    EXPECT_EQ(app::state().linkEnabled, 0);
    EXPECT_EQ(shownBoxes, std::vector<std::string>{"Please Insert Usb Controller!"});

    ASSERT_TRUE(pendant.start());
    send(WM_COMMAND, ID_LOCK);
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(pendant::device().connected, 1);

    send(WM_COMMAND, ID_LOCK);
    std::vector<BYTE> removal = interfaceNotice(pendant::VirtualReceiver::kFeatureInterfacePath);
    EXPECT_EQ(send(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(removal.data())), TRUE);
    dialog->refreshStep();
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(pendant::device().connected, 1);
    EXPECT_EQ(dialog->trayIconId(), IDI_TRAY_IDLE);
    EXPECT_EQ(shownBoxes.size(), 1u);
}

TEST_F(MainWindow, ItsIconIsInTheNotificationAreaFromItsCreationToItsDestruction) {
    start(false);
    const HWND window = dialog->window();
    EXPECT_TRUE(trayHoldsIcon(window));
    dialog->destroy();
    EXPECT_FALSE(trayHoldsIcon(window));
}

TEST_F(MainWindow, AHotkeyLockHoldsOverDeviceChangesAndReconnectsUntilTheOperatorLiftsIt) {
    start();
    bindNcStudio();
    send(WM_HOTKEY, 1001);
    for (const WPARAM change : {WPARAM(DBT_DEVICEREMOVECOMPLETE), WPARAM(DBT_DEVICEARRIVAL)}) {
        DEV_BROADCAST_HDR stick = {};
        stick.dbch_devicetype = change == DBT_DEVICEARRIVAL ? DBT_DEVTYP_DEVICEINTERFACE : DBT_DEVTYP_VOLUME;
        send(WM_DEVICECHANGE, change, reinterpret_cast<LPARAM>(&stick));
        dialog->refreshStep();
        EXPECT_EQ(app::state().linkUp, 1) << "reopened";
        EXPECT_EQ(app::state().linkEnabled, 0) << "still locked after device change " << change;
    }
    send(WM_HOTKEY, 1001);
    EXPECT_EQ(app::state().linkEnabled, 1);

    // The menu's lock is lifted by plugging the receiver in again, as before.
    send(WM_COMMAND, ID_LOCK);
    std::vector<BYTE> removal = interfaceNotice(pendant::VirtualReceiver::kInputInterfacePath);
    send(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(removal.data()));
    dialog->refreshStep();
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_TRUE(shownBoxes.empty());
}

// Locked from the menu to walk away: a mouse plugged in and out leaves it
// locked and the receiver closed. The receiver's own re-plugging lifts the
// lock, its removal announced or found by a refresh.
TEST_F(MainWindow, AMenuLockHoldsOverOtherDevicesAndOnlyTheReceiversReplugLiftsIt) {
    start();
    std::string path = pendant::VirtualReceiver::kInputInterfacePath;
    CharUpperA(&path[0]);
    std::vector<BYTE> mouse = interfaceNotice("\\\\?\\hid#vid_046d&pid_c077#7&1a2b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    std::vector<BYTE> receiverNotice = interfaceNotice(path);
    auto change = [&](WPARAM event, std::vector<BYTE>& notice) {
        send(WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice.data()));
        dialog->refreshStep();
    };
    send(WM_COMMAND, ID_LOCK);
    change(DBT_DEVICEARRIVAL, mouse);
    change(DBT_DEVICEREMOVECOMPLETE, mouse);
    EXPECT_EQ(app::state().linkEnabled, 0);
    EXPECT_EQ(pendant::device().connected, 0);
    change(DBT_DEVICEREMOVECOMPLETE, receiverNotice);  // plugged in again before the refresh
    EXPECT_EQ(app::state().linkEnabled, 1);

    send(WM_COMMAND, ID_LOCK);
    plugReceiver(false);
    change(DBT_DEVICEREMOVECOMPLETE, mouse);
    plugReceiver(true);
    change(DBT_DEVICEARRIVAL, receiverNotice);
    EXPECT_EQ(app::state().linkEnabled, 1);
    EXPECT_EQ(pendant::device().connected, 1);
}

bool closedByTest = false;

// A dialog left open is closed by the test.
void CALLBACK closeDialogLeftOpen(HWND, UINT, UINT_PTR, DWORD) {
    const HWND left = GetActiveWindow();
    if (!left) return;
    closedByTest = true;
    PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
}

// Exit chosen while a dialog of the menu is open (its tray menu still
// works): the dialog closes, the program ends, and no menu command after
// Exit reopens anything.
TEST_F(MainWindow, ExitWhileADialogIsOpenClosesItAndTakesNoFurtherCommand) {
    start();
    // The three dialogs of the menu are run alike; Mate also has a timer.
    for (const WORD opened : {WORD(ID_MATE)}) {
        SCOPED_TRACE(opened);
        dialog.reset();
        dialog = std::make_unique<app::MainDialog>();
        ASSERT_TRUE(dialog->create());
        const HWND self = dialog->window();
        PostMessageA(self, WM_COMMAND, opened, 0);
        PostMessageA(self, WM_COMMAND, ID_EXIT, 0);
        PostMessageA(self, WM_COMMAND, ID_LOCK, 0);
        PostMessageA(self, WM_COMMAND, ID_LOCK, 0);
        closedByTest = false;
        const UINT_PTR rescue = SetTimer(nullptr, 0, 3000, closeDialogLeftOpen);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        KillTimer(nullptr, rescue);
        EXPECT_FALSE(closedByTest) << "the dialog stayed open after Exit";
        EXPECT_TRUE(dialog->ended());
        EXPECT_EQ(pendant::device().connected, 0) << "no menu command reopened the receiver";
    }
}

TEST_F(MainWindow, AStartThatCannotTakeCtrlF11OrReadTheToolSetterHeightSaysSo) {
    HWND other = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL, VK_F11));
    app::writeProfileString("Knife Section", "Knifdb", "3a4");
    start();
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
    DeleteFileA(app::profilePath().c_str());
    ASSERT_EQ(shownBoxes.size(), 1u);
    EXPECT_NE(shownBoxes[0].find("Ctrl+F11"), std::string::npos) << shownBoxes[0];
    EXPECT_NE(shownBoxes[0].find("ProbeSet"), std::string::npos) << shownBoxes[0];
    EXPECT_EQ(app::state().toolSetterEnabled, 0);
}

}  // namespace
