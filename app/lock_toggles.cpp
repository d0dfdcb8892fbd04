#include "app/lock_toggles.h"

#include "app/message_box.h"
#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"

namespace app {
namespace {

void tellNoReceiver(HWND mainWindow) {
    showMessageBox(mainWindow, kInsertReceiverText, kInsertReceiverCaption, MB_OK);
}

// Keys are refused from here on; a jog or key still held gets its release.
void lock() {
    state().linkEnabled = 0;
    pendant::releaseHeldKeysOnLinkLoss();
}

}  // namespace

void toggleLockFromMenu(HWND mainWindow) {
    ProcessState& process = state();
    if (process.linkEnabled == 0) {
        process.linkEnabled = 1;
        if (!pendant::device().openDevice(mainWindow)) {
            process.linkEnabled = 0;
            tellNoReceiver(mainWindow);
        }
        return;
    }
    lock();
    pendant::device().closeDevice();
}

void toggleLockFromHotkey(HWND mainWindow) {
    ProcessState& process = state();
    if (process.linkEnabled == 0) {
        process.linkEnabled = 1;
        if (!pendant::device().connected) {
            process.linkEnabled = 0;
            tellNoReceiver(mainWindow);
        }
        return;
    }
    lock();
}

}  // namespace app
