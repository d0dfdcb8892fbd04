#pragma once
// The recording ncbridge.dll used by the tests of wheelpad's binding: besides
// the twelve exports, which record each call with its arguments, it exports a
// few controls that only this library has.
//
// A call is recorded as one line: the export's name and its arguments,
// separated by single spaces. Window handles appear as handleText gives them,
// key words as eight upper-case hex digits, doubles as std::to_string gives
// them, e.g. "SetPcState 65600 16", "KeyBoardProc 254 01050004",
// "SetKnifHigh 34.400000 1".
#include <windows.h>

#include <cstdint>
#include <string>

extern "C" {
// Copies the recorded calls, one per line, each ended by '\n', into `buffer`
// (zero-terminated, cut at `size`); returns the length of the whole record.
int WINAPI RecordedCalls(char* buffer, int size);
void WINAPI ClearRecordedCalls();
// What the export `exportName` returns from now on (0 until set).
void WINAPI SetRecordedResult(const char* exportName, int result);
// The text GetAxisLocation writes when it returns non-zero.
void WINAPI SetLocationText(const char* text);
// While held, KeyBoardProc records its call and then waits until let go (a
// key action that takes long).
void WINAPI HoldKeyBoardProc(int hold);
}

namespace recording_bridge {

using RecordedCallsFn = int(WINAPI*)(char*, int);
using ClearRecordedCallsFn = void(WINAPI*)();
using SetRecordedResultFn = void(WINAPI*)(const char*, int);
using SetLocationTextFn = void(WINAPI*)(const char*);
using HoldKeyBoardProcFn = void(WINAPI*)(int);

// Where the library is built, below the folder of the test programs; its file
// name is the real library's.
constexpr const char* kFolder = "recording_bridge";

inline std::string handleText(const void* handle) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace recording_bridge
