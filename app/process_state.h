#pragma once
// Process-wide state of wheelpad, shared as plain words by the main thread,
// the pendant reader thread and the polling thread.
#include <windows.h>

#include <string>

namespace app {

struct ProcessState {
    volatile int linkEnabled = 1;
    volatile int hostFound = 0;
    HWND volatile hostWindow = nullptr;
    volatile DWORD hostThreadId = 0;
    volatile DWORD hostProcessId = 0;
    std::string hostExePath;
    volatile int verFlag = 0;
    std::string aboutText = "QVT MP40 Driver For Weihong CNC";
    HMODULE volatile bridgeModule = nullptr;
    volatile int linkUp = 0;
    // Locked by Ctrl+F11: a reopened receiver does not unlock, only the
    // operator does (the hotkey or the menu).
    volatile int hotkeyLock = 0;
    // Locked from the menu: the receiver is closed, and only the receiver's
    // own re-plugging lifts the lock (seen missing since the lock, then back);
    // another device coming or going does not.
    volatile int menuLock = 0;
    volatile int receiverMissingSinceMenuLock = 0;
    HWND volatile mainWindow = nullptr;
    volatile int toolSetterEnabled = 0;
    volatile double toolSetterHeight = 34.4;
    // Set by the key dispatch when a key is down; read and cleared by the
    // display, where it forces the next frame out.
    volatile int keyActivity = 0;
    // The next display frame goes out whatever it holds.
    volatile int forceFrame = 0;
    // The thread whose input the pendant reader is attached to; 0 = none.
    volatile DWORD attachedThreadId = 0;
    // The last key event KeyBoardProc received, so that a key or wheel still
    // held when the link goes down can be released.
    volatile int lastWheelDelta = 0;
    volatile int lastKeyWord = 0;
};

ProcessState& state();

}  // namespace app
