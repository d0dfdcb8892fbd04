#pragma once
// Every message box wheelpad shows goes through here, so that tests can
// answer them without a window.
#include <windows.h>

namespace app {

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);

// Shows the box (MessageBoxA unless a test installed another function) and
// gives the button chosen.
int showMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Replaces MessageBoxA; nullptr brings it back.
void installMessageBox(MessageBoxFunction function);

// The texts the user can meet.
constexpr const char* kInsertReceiverText = "Please Insert Usb Controller!";
constexpr const char* kInsertReceiverCaption = "Infor";
constexpr const char* kHotkeyTakenText =
    "Ctrl+F11 is taken by another program: lock the pendant with Lock in the tray menu.";
constexpr const char* kHeightUnreadableText =
    "ProbeSet: the tool setter's height (Knifdb in wheelpad.INI) is not a number, so the tool setter stays off.";
constexpr const char* kRegisterErrorText = "MPQ Register Error,Pleaes close kill software!";

}  // namespace app
