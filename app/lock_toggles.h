#pragma once
// Locking and unlocking the pendant. Locked, its key events are refused and
// the display is not updated. A jog still held when the lock comes is let go
// first: KeyBoardProc gets one release event.
#include <windows.h>

namespace app {

// The menu's "Lock": locking closes the receiver; unlocking opens it again,
// and without a receiver stays locked and says so.
void toggleLockFromMenu(HWND mainWindow);

// Ctrl+F11: only the lock flag changes, the receiver stays open; unlocking
// while the receiver is not open stays locked and says so. Its lock holds
// over device changes and reopened receivers until the operator lifts it.
void toggleLockFromHotkey(HWND mainWindow);

}  // namespace app
