#pragma once
// Finding a button of one of NcStudio's windows by its caption.
#include <windows.h>

#include <functional>

namespace executor {

// The first "Button" child of `parent`, in NcStudio's child order, whose
// caption is not empty and satisfies `match`; nullptr when there is none or
// `parent` is nullptr.
HWND firstButtonWhere(HWND parent, const std::function<bool(const char* caption)>& match);

}  // namespace executor
