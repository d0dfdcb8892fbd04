#include "standin/ncstudio/window_subclass.h"

namespace standin {

void subclassWindow(HWND window, WNDPROC procedure, const char* property) {
    SetPropA(window, property,
             reinterpret_cast<HANDLE>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure))));
}

LRESULT callReplaced(const char* property, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto replaced = reinterpret_cast<WNDPROC>(GetPropA(window, property));
    if (message == WM_NCDESTROY) RemovePropA(window, property);
    return CallWindowProcA(replaced, window, message, wParam, lParam);
}

}  // namespace standin
