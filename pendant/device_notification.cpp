// Watching device arrival and removal, and reopening the receiver after the
// link went down.
#include "pendant/pendant_device.h"

#include <dbt.h>

#include <cstddef>
#include <string>

#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

// The interface path a device-change message names, or "" when it names
// none. The name is read in either width (the paths are ASCII), within the
// size the message gives.
std::string interfacePath(const DEV_BROADCAST_HDR* header) {
    constexpr size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE || header->dbch_size <= nameOffset) return {};
    const char* name = reinterpret_cast<const char*>(header) + nameOffset;
    const size_t length = header->dbch_size - nameOffset;
    const size_t step = length >= 2 && name[0] != 0 && name[1] == 0 ? 2 : 1;
    std::string path;
    for (size_t at = 0; at < length && name[at] != 0; at += step) path += name[at];
    return path;
}

}  // namespace

int PendantDevice::registerDeviceNotification(HWND mainWindow) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    static_assert(sizeof(filter) == 32, "the filter is registered as 32 bytes");
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_reserved = 0;
    filter.dbcc_classguid = notifyClassGuid_;
    if (!RegisterDeviceNotificationA(mainWindow, &filter, DEVICE_NOTIFY_WINDOW_HANDLE)) return 0;
    notificationRegistered_ = true;
    return 1;
}

// Any arrival of a device interface and any removal mark the link down; the
// next reconnectStep closes and reopens the receiver. The receiver's own
// removal is noted for a lock from the menu, which it lifts.
BOOL PendantDevice::onDeviceChange(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    const bool interfaceArrived = event == DBT_DEVICEARRIVAL && header &&
                                  header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
    if (interfaceArrived || event == DBT_DEVICEREMOVECOMPLETE) {
        app::ProcessState& state = app::state();
        const bool receiverRemoved = !interfaceArrived && isReceiverInterface(interfacePath(header));
        platform::logEvent("link down: device %s", interfaceArrived ? "arrived" : receiverRemoved ? "removed (the receiver)" : "removed");
        if (receiverRemoved && state.menuLock) state.receiverMissingSinceMenuLock = 1;
        state.linkUp = 0;
        releaseHeldKeysOnLinkLoss("device change");
    }
    return TRUE;
}

bool PendantDevice::isReceiverInterface(const std::string& path) {
    std::lock_guard<std::mutex> paths(pathsLock_);
    for (const std::string& receiverPath : receiverPaths_)
        if (!path.empty() && _stricmp(path.c_str(), receiverPath.c_str()) == 0) return true;
    return false;
}

void PendantDevice::reconnectStep(HWND mainWindow) {
    if (!notificationRegistered_) registerDeviceNotification(mainWindow);
    app::ProcessState& state = app::state();
    if (state.linkUp) return;
    if (connected) closeDevice();
    state.linkUp = openDevice(mainWindow);
    if (state.menuLock) {
        reconnectWhileMenuLocked();
        return;
    }
    if (state.linkUp && !state.hotkeyLock) state.linkEnabled = 1;
    if (state.linkUp) platform::logEvent("link up again%s", state.hotkeyLock ? " (still locked by the hotkey)" : "");
}

// The open attempt of this step tells whether the receiver is there. Back
// after it was missing: unlocked and left open. Still there: closed again,
// and the link stays counted as up, so nothing reopens it before the next
// device change.
void PendantDevice::reconnectWhileMenuLocked() {
    app::ProcessState& state = app::state();
    if (!state.linkUp) {
        if (openFoundNoReceiver_ && !state.receiverMissingSinceMenuLock) {
            state.receiverMissingSinceMenuLock = 1;
            platform::logEvent("receiver missing while locked from the menu: plugging it in again unlocks");
        }
        return;
    }
    if (state.receiverMissingSinceMenuLock) {
        state.menuLock = 0;
        state.linkEnabled = 1;
        platform::logEvent("pendant unlocked (receiver plugged in again after the menu's lock)");
        return;
    }
    closeDevice();
    platform::logEvent("device change while locked from the menu: the receiver is still there, it stays closed and locked");
}

}  // namespace pendant
