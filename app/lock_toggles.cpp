#include "app/lock_toggles.h"

#include "app/message_box.h"
#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"
#include "platform/support_log.h"

namespace app {
namespace {

void tellNoReceiver(HWND mainWindow) {
    platform::logEvent("no receiver: locked again, told the operator");
    showMessageBox(mainWindow, kInsertReceiverText, kInsertReceiverCaption, MB_OK);
}

// Keys are refused from here on; a jog or key still held gets its release.
void lock(const char* cause) {
    platform::logEvent("pendant locked (%s)", cause);
    state().linkEnabled = 0;
    pendant::releaseHeldKeysOnLinkLoss("lock");
}

}  // namespace

void toggleLockFromMenu(HWND mainWindow) {
    ProcessState& process = state();
    if (process.linkEnabled == 0) {
        process.linkEnabled = 1;
        platform::logEvent("pendant unlocked (menu)");
        pendant::PendantDevice& receiver = pendant::device();
        if (receiver.openDevice(mainWindow)) {
            process.hotkeyLock = 0;
            process.menuLock = 0;
        } else if (receiver.openWaitedForReader()) {
            // The receiver is there, its last reader still in a key action:
            // the refresh step opens it once that has ended.
            process.hotkeyLock = 0;
            process.menuLock = 0;
            process.linkUp = 0;
        } else {
            process.linkEnabled = 0;
            tellNoReceiver(mainWindow);
        }
        return;
    }
    lock("menu");
    process.menuLock = 1;
    process.receiverMissingSinceMenuLock = 0;
    pendant::device().closeDevice();
}

void toggleLockFromHotkey(HWND mainWindow) {
    ProcessState& process = state();
    if (process.linkEnabled == 0) {
        process.linkEnabled = 1;
        platform::logEvent("pendant unlocked (hotkey)");
        if (!pendant::device().connected) {
            process.linkEnabled = 0;
            tellNoReceiver(mainWindow);
            return;
        }
        process.hotkeyLock = 0;
        process.menuLock = 0;
        return;
    }
    lock("hotkey");
    process.hotkeyLock = 1;
}

}  // namespace app
