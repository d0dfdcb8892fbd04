#pragma once
// Keyboard chords and menu keys posted to NcStudio's main window.
#include <windows.h>

namespace executor {

// Posts `key` to NcStudio's main window with `modifier` held in the keyboard
// state: the key is held 100 ms, then released and followed by a 40 ms wait.
// Nothing is posted when the keyboard state cannot be read.
void postChord(BYTE modifier, BYTE key);

// Opens NcStudio's menu with Alt+'O' and then posts `letter`.
void postAltMenu(BYTE letter);

}  // namespace executor
