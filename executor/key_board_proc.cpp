// KeyBoardProc: carries out one pendant key event against NcStudio.
// Until the executor's steps are built, it takes and releases the mutex and
// returns its time-out result.
#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"

int WINAPI KeyBoardProc(int, int) {
    bridge::MutexHold hold;
    return 1;
}
