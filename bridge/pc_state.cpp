// SetPcState: which of NcStudio's windows is in front. A prompt (16, 32) or the
// calibration window (2) puts the current host mode aside and the next report
// of anything else brings it back; the executor's calibration modes survive a
// number of reports of the main window (modeGrace).
#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/shared_block.h"

using namespace bridge;

namespace {

void putModeAside(SharedBlock& b, HWND window) {
    b.reportedPcState = 16;
    b.promptWindow = window;
    if (b.hostMode != 0) b.savedHostMode = b.hostMode;
}

}  // namespace

int WINAPI SetPcState(HWND window, int pcState) {
    SharedBlock& b = block();
    switch (pcState) {
    case 6:
        b.jiggleWindow = window;
        if (b.hostMode != 6) cacheJiggleButtons();
        b.homingDialog = nullptr;
        break;
    case 5:
        b.jiggleWindow = nullptr;
        b.homingDialog = window;
        break;
    case 16:
    case 32:
        b.jiggleWindow = nullptr;
        b.homingDialog = nullptr;
        putModeAside(b, window);
        b.hostMode = 0;
        return 1;
    default:
        b.jiggleWindow = nullptr;
        b.homingDialog = nullptr;
        break;
    }

    if (b.savedHostMode != 0) {
        b.hostMode = b.savedHostMode;
        b.savedHostMode = 0;
    }
    b.reportedPcState = pcState;
    b.promptWindow = nullptr;

    if (pcState == 0) {
        if (b.hostMode >= 5) {
            b.hostMode = 0;
            return 1;
        }
        if (b.hostMode == 1 || b.hostMode == 2) b.reportedPcState = b.hostMode;
        if (b.modeGrace != 0) {
            --b.modeGrace;
            releaseBridgeMutexOnce();
            return 1;
        }
        b.hostMode = 0;
        b.reportedPcState = 0;
    } else if (pcState == 2) {
        putModeAside(b, window);
        b.hostMode = 2;
    } else {
        b.hostMode = pcState;
    }
    return 1;
}
