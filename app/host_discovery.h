#pragma once
// Finding NcStudio by its windows: each refresh hands the foreground window
// to discover(), which binds ncbridge to an NcStudio main window coming to
// the front, turns mapping on while NcStudio's UI thread owns the
// foreground, tells ncbridge through SetPcState which of NcStudio's dialogs
// is in front, and unbinds when the bound NcStudio has gone.
#include <windows.h>

#include <string>

namespace app {

// The PcState values discovery passes to SetPcState.
enum PcState {
    kPcMainWindow = 0,
    kPcCalibration = 2,
    kPcBackToReference = 5,
    kPcJiggle = 6,
    kPcPrompt = 16,
    kPcParameters = 32,
};

class HostDiscovery {
public:
    void discover(HWND foreground);

    // The last top-level window examined (0: examine the next one).
    HWND lastTopWindow = nullptr;
    // Refresh steps a found dialog stays reported after it was last seen.
    int dialogHold = 0;

private:
    // NcStudio's UI thread owns the foreground.
    void hostInFront(HWND foreground);
    // Another thread's top-level window came to the front: bound when it is
    // an NcStudio main window.
    void examine(HWND top, DWORD thread, DWORD process);
    void bind(HWND top, DWORD thread, DWORD process);
    // Unbinds a gone NcStudio, else reports the dialog in front.
    void checkHost(HWND foreground);
    bool trackDialogs(HWND foreground);
    // A dialog to run the prompt test on once, while it stays the same.
    bool trackPromptOnce(HWND dialog);
};

// True when `window` has one of the prompt buttons (IDNO, IDCANCEL, IDYES,
// IDOK); then SetPcState(window, 16) has been called.
bool promptTest(HWND window);

// The window text of `window` (at most 99 characters) in lower case.
std::string lowerCaseTitle(HWND window);

}  // namespace app
