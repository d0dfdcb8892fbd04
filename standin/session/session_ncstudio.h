#pragma once
// The stand-in NcStudio that the session, the link's fault tests and the
// soak program drive: generation 2 with its coordinate panel, manual page
// (0.05 mm checked), status dialog ("IDLE"), control bar and "Feedrate"
// dialog, on a host thread of the caller's; and its binding to ncbridge as
// wheelpad binds it when NcStudio's main window comes to the front.
#include <windows.h>

#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"

namespace standin {

struct SessionNcStudio {
    explicit SessionNcStudio(HostThread& host);

    // The manual page's direction button with this caption ("X+", "Y-", ...).
    HWND jogButton(const char* caption) const;

    NcStudioBuilder build;
    HWND main;
    CoordinatePanelWindows panel;
    HWND manualPage;
    HWND runState;
    FeedrateDialogWindows feedrate;
};

// SetVer, UnHook, installhook, SetPcState and EnableMap through wheelpad's
// binding, NcStudio recorded as found (its thread, this process); false when
// UnHook or installhook fails.
bool bindNcStudio(HWND main, DWORD threadId);

}  // namespace standin
