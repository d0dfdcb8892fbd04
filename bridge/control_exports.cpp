// The small exports through which wheelpad binds the library to an NcStudio
// main window, names the host generation, switches the executor on and off and
// hands over the tool-setter settings. Despite their names none of them
// installs a Windows hook.
#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/shared_block.h"
#include "platform/support_log.h"

using namespace bridge;

int WINAPI installhook(HWND hostMain) {
    MutexHold hold;
    if (hold.timedOut()) {
        platform::logEvent("installhook: \"mdllhook\" busy for 500 ms, not bound");
        return 0;
    }
    platform::logEvent("installhook: bound to NcStudio's main window %p, Ctrl+2 posted", static_cast<void*>(hostMain));
    SharedBlock& b = block();
    b.jogButtonsReady = 0;
    b.safeHeightKnown = 0;
    b.hostWindow = hostMain;
    postCtrlChord('2');
    return 1;
}

int WINAPI UnHook() {
    releaseBridgeMutexOnce();
    return 1;
}

int WINAPI EnableMap(int on) {
    block().jogButtonsReady = 0;
    block().mapEnabled = on;
    return on;
}

int WINAPI EnableEdit(int locked) {
    block().jogLocked = locked;
    return locked;
}

int WINAPI SetVer(int flag) {
    SharedBlock& b = block();
    b.stopCommandId = 32829;
    b.pauseCommandId = 32821;
    b.verArg = flag;
    b.hostGeneration = flag ? 2 : 1;
    platform::logEvent("SetVer %d: NcStudio of generation %d", flag, b.hostGeneration);
    return flag;
}

int WINAPI SetKnifHigh(double height, int enabled) {
    block().toolSetterHeight = height;
    block().toolSetterEnabled = enabled;
    return 1;
}

LRESULT WINAPI MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && (wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP || wParam == WM_RBUTTONDOWN ||
                      wParam == WM_RBUTTONUP))
        block().jogButtonsReady = 0;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
