#include "app/pendant_app.h"

#include "app/main_dialog.h"
#include "app/support_log_start.h"
#include "pendant/receiver_selection.h"

namespace app {

BOOL PendantApp::initInstance() {
    // Never closed: the first instance holds it until the process ends.
    CreateMutexA(nullptr, TRUE, kSingleInstanceMutex);
    if (GetLastError() == ERROR_ALREADY_EXISTS) return TRUE;
    startSupportLog();
    pendant::selectReceiverFromEnvironment();
    {
        MainDialog dialog;
        dialog.doModal();
    }
    endSupportLog();
    return FALSE;
}

}  // namespace app
