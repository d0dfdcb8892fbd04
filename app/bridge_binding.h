#pragma once
// wheelpad's calls into ncbridge. The library is loaded by file name on
// demand and every export is looked up by name at every call; a missing
// library or export makes the call return its failure value.
#include <windows.h>

namespace app {

// Loads "ncbridge.dll" into the process state's bridgeModule when it is not
// loaded yet; the module, or nullptr.
HMODULE ensureBridgeLoaded();

// Frees the library at shutdown. A KeyBoardProc call still running keeps it
// loaded until that call has returned.
void freeBridge();

// 0 without a receiver, library or export; otherwise the window is stored as
// hostWindow and installhook's result returned.
int callInstallhook(HWND hostMain);
int callUnHook();  // 0 when missing
void callEnableMap(int on);
void callSetVer(int flag);
// Only for windows of the bound NcStudio's UI thread (hostThreadId).
void callSetPcState(HWND window, int pcState);
// The status readers: true when the export was called; `result` takes its
// value and is left alone otherwise. GetMaState is called only while linkUp.
bool callGetMaState(HWND mainWindow, int& result);
bool callGetMaStep(int& result);
bool callGetAxisLocation(char* buffer1024, int& result);
void callSetKnifHigh(double height, int enabled);
// Calls KeyBoardProc of the library as loaded now (never loads it) and keeps
// the library loaded for the call; true when it was found and called, with
// its result in `result`.
bool callKeyBoardProc(int wheelDelta, int keyWord, int& result);

}  // namespace app
