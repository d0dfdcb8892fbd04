#pragma once
// Putting a window procedure of the stand-in in front of a window's own: the
// procedure it replaces is kept in a window property.
#include <windows.h>

namespace standin {

void subclassWindow(HWND window, WNDPROC procedure, const char* property);

// Calls the procedure that subclassWindow replaced; on WM_NCDESTROY the
// property is removed first.
LRESULT callReplaced(const char* property, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace standin
