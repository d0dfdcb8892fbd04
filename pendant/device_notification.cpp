// Watching device arrival and removal, and reopening the receiver after the
// link went down.
#include "pendant/pendant_device.h"

#include <dbt.h>

#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "platform/support_log.h"

namespace pendant {

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
// next reconnectStep closes and reopens the receiver.
BOOL PendantDevice::onDeviceChange(WPARAM event, LPARAM data) {
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    const bool interfaceArrived = event == DBT_DEVICEARRIVAL && header &&
                                  header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE;
    if (interfaceArrived || event == DBT_DEVICEREMOVECOMPLETE) {
        platform::logEvent("link down: device %s", interfaceArrived ? "arrived" : "removed");
        app::state().linkUp = 0;
        releaseHeldKeysOnLinkLoss("device change");
    }
    return TRUE;
}

void PendantDevice::reconnectStep(HWND mainWindow) {
    if (!notificationRegistered_) registerDeviceNotification(mainWindow);
    app::ProcessState& state = app::state();
    if (state.linkUp) return;
    if (connected) closeDevice();
    state.linkUp = openDevice(mainWindow);
    if (state.linkUp && !state.hotkeyLock) state.linkEnabled = 1;
    if (state.linkUp) platform::logEvent("link up again%s", state.hotkeyLock ? " (still locked by the hotkey)" : "");
}

}  // namespace pendant
