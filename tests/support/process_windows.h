#pragma once
// Starting the programs the tests start, finding them and their windows,
// reading their logs.
#include <windows.h>

#include <string>

namespace testing_support {

// Starts `commandLine` (handles not inherited); false when it cannot.
bool startProgram(std::string commandLine, HANDLE& process, DWORD& processId);

// The whole of a text file, "" when it cannot be read (a program's log).
std::string fileText(const std::string& path);

// The folder of the running test program, ending in a backslash.
std::string programFolder();

// A top-level window of process `processId` whose title contains
// `titlePart`; 0 when there is none.
HWND findProcessWindow(DWORD processId, const std::string& titlePart);

}  // namespace testing_support
