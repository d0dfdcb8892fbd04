#pragma once
// The tool-setter settings in the profile, section "Knife Section": whether
// the wireless tool setter is in use ("KnifEnable", default "0") and its
// height ("Knifdb", default "34.4"); and the autostart entry.
#include <windows.h>

namespace app {

// Reads both settings into toolSetterEnabled and toolSetterHeight. A height
// written by hand with a decimal comma is read as meant; one that is not a
// number keeps the tool setter off (the default height is kept): false then.
bool readToolSetterSettings();

// Writes toolSetterEnabled as "%d" and toolSetterHeight as "%f".
void writeToolSetterSettings();

// Sets the value "wheelpad" under HKEY_LOCAL_MACHINE's Run key to this
// executable's path, so that it starts with Windows. A key that cannot be
// opened is passed over in silence; a value that cannot be set is reported
// with a message box owned by `owner`.
void registerAutostart(HWND owner);

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kAutostartValue = "wheelpad";

}  // namespace app
