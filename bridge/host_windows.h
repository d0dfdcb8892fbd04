#pragma once
// Finding NcStudio's windows: its panels by chains of control ids from the
// main window, children by class or by text, and reading window texts.
#include <windows.h>

#include <initializer_list>

namespace bridge {

constexpr int kWindowTextSize = 64;

class KeptWalk;

// Follows a chain of control ids from `from` with GetDlgItem; nullptr when
// any link is missing.
HWND childChain(HWND from, std::initializer_list<int> ids);

// NcStudio's panels, found afresh from the bound main window on every use,
// or through a status reader's kept walk.
HWND coordinatePanel(KeptWalk* walk = nullptr);
HWND manualPage(KeptWalk* walk = nullptr);
HWND statusDialog(KeptWalk* walk = nullptr);

// The next child of `parent` of class `className` after `after` (from the
// first child when `after` is nullptr), in NcStudio's child order. Walks the
// siblings rather than asking FindWindowExA, which on Wine finds nothing when
// `after` is of another class.
HWND nextChildOfClass(HWND parent, HWND after, const char* className);

// The next child of `parent` after `after` (any class) whose text is exactly
// `text`.
HWND nextChildWithText(HWND parent, HWND after, const char* text);

// True when `window` belongs to the process of the bound NcStudio main
// window.
bool belongsToHost(HWND window);

// The top-level window titled exactly `title` that belongs to NcStudio;
// nullptr when NcStudio shows none (another program's window with that
// title is passed over).
HWND findHostWindow(const char* title);

// The text of `window` read with GetWindowTextA into the per-process 64-byte
// text buffer; the returned pointer stays valid until the next read.
const char* readText(HWND window);

// The same read with SendMessageA(WM_GETTEXT, 64, buffer).
const char* readTextByMessage(HWND window);

// The per-process 64-byte buffer the two reads above fill.
char* textBuffer();

// A byte-wise, case-sensitive substring test.
bool contains(const char* text, const char* part);

// PostMessageA to `window` unless it is 0: a handle that is 0 (a button never
// cached, no main window bound) receives no message. PostMessageA itself would
// put the message into the calling thread's own queue.
void postTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace bridge
