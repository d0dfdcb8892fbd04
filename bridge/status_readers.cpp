// The status readers GetMaState, GetMaStep and GetAxisLocation.
// Until NcStudio's windows are read here, each takes and releases the mutex and
// returns its time-out result.
#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/shared_block.h"

using namespace bridge;

int WINAPI GetMaState(HWND) {
    MutexHold hold;
    return block().machineState;
}

int WINAPI GetMaStep() {
    MutexHold hold;
    return block().lastStepCode;
}

int WINAPI GetAxisLocation(char*) {
    MutexHold hold;
    return 0;
}
