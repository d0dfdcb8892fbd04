// Entry point of ncbridge.dll: a fresh state block and the mutex on load, the
// mutex closed on unload.
#include <windows.h>

#include "bridge/shared_block.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) bridge::startUp();
    if (reason == DLL_PROCESS_DETACH) bridge::shutDown();
    return TRUE;
}
