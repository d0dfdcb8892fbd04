#pragma once
// Finding the programs the tests start and their windows.
#include <windows.h>

#include <string>

namespace testing_support {

// The folder of the running test program, ending in a backslash.
std::string programFolder();

// A top-level window of process `processId` whose title contains
// `titlePart`; 0 when there is none.
HWND findProcessWindow(DWORD processId, const std::string& titlePart);

}  // namespace testing_support
