#include "app/message_box.h"

namespace app {
namespace {

int realMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

MessageBoxFunction current = realMessageBox;

}  // namespace

int showMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return current(owner, text, caption, type);
}

void installMessageBox(MessageBoxFunction function) { current = function ? function : realMessageBox; }

}  // namespace app
