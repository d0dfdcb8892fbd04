#include "executor/button_search.h"

#include "bridge/host_windows.h"

namespace executor {

HWND firstButtonWhere(HWND parent, const std::function<bool(const char* caption)>& match) {
    for (HWND button = bridge::nextChildOfClass(parent, nullptr, "Button"); button;
         button = bridge::nextChildOfClass(parent, button, "Button")) {
        const char* caption = bridge::readText(button);
        if (*caption && match(caption)) return button;
    }
    return nullptr;
}

}  // namespace executor
