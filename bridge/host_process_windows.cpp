// NcStudio's own top-level windows: its dialogs are found by title, and a
// window of another program with the same title is not NcStudio's.
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"

namespace bridge {
namespace {

DWORD processOf(HWND window) {
    DWORD process = 0;
    if (window) GetWindowThreadProcessId(window, &process);
    return process;
}

}  // namespace

bool belongsToHost(HWND window) {
    const DWORD host = processOf(block().hostWindow);
    return host != 0 && processOf(window) == host;
}

HWND findHostWindow(const char* title) {
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, title); window;
         window = FindWindowExA(nullptr, window, nullptr, title)) {
        if (belongsToHost(window)) return window;
    }
    return nullptr;
}

}  // namespace bridge
