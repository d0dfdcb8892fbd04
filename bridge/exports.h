#pragma once
// The twelve exports of ncbridge, by undecorated name, __stdcall. wheelpad does
// not link against the library; it uses the pointer types below with
// GetProcAddress.
#include <windows.h>

extern "C" {
int WINAPI installhook(HWND hostMain);
int WINAPI EnableMap(int on);
int WINAPI EnableEdit(int locked);
int WINAPI KeyBoardProc(int wheelDelta, int keyWord);
LRESULT WINAPI MouseProc(int code, WPARAM wParam, LPARAM lParam);
int WINAPI UnHook();
int WINAPI SetVer(int flag);
int WINAPI GetAxisLocation(char* buffer);
int WINAPI GetMaState(HWND caller);
int WINAPI GetMaStep();
int WINAPI SetPcState(HWND window, int pcState);
int WINAPI SetKnifHigh(double height, int enabled);
}

namespace bridge_abi {
using InstallHookFn = int(WINAPI*)(HWND);
using EnableMapFn = int(WINAPI*)(int);
using EnableEditFn = int(WINAPI*)(int);
using KeyBoardProcFn = int(WINAPI*)(int, int);
using MouseProcFn = LRESULT(WINAPI*)(int, WPARAM, LPARAM);
using UnHookFn = int(WINAPI*)();
using SetVerFn = int(WINAPI*)(int);
using GetAxisLocationFn = int(WINAPI*)(char*);
using GetMaStateFn = int(WINAPI*)(HWND);
using GetMaStepFn = int(WINAPI*)();
using SetPcStateFn = int(WINAPI*)(HWND, int);
using SetKnifHighFn = int(WINAPI*)(double, int);

// The library's file name and its exports in ordinal order (1 to 12).
constexpr const char* kLibraryName = "ncbridge.dll";
constexpr const char* kExportNames[12] = {
    "installhook", "EnableMap", "EnableEdit", "KeyBoardProc", "MouseProc",  "UnHook",
    "SetVer",      "GetAxisLocation", "GetMaState", "GetMaStep", "SetPcState", "SetKnifHigh"};
}  // namespace bridge_abi
