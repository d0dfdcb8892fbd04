#pragma once
// The stand-in NcStudio program (bin\ncstudio-v5\ncstudio.exe or
// bin\ncstudio-v8\ncstudio.exe beside the running test program) as a process
// of its own: started hidden with its commands on a pipe and its log in a
// file, found by its main window, ended by closing its input.
#include <windows.h>

#include <string>

namespace testing_support {

// The program of product major version `major` (5 or 8).
std::string ncstudioPath(int major);

class NcStudioProcess {
public:
    // Starts the program with `--stdin --log FILE` and `options`.
    NcStudioProcess(int major, const std::string& options = "--hidden");
    // Ends it (closes its input; terminates it if it does not end in 5 s).
    ~NcStudioProcess();
    NcStudioProcess(const NcStudioProcess&) = delete;
    NcStudioProcess& operator=(const NcStudioProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD processId() const { return processId_; }

    // Its top-level window whose title contains "NcStudio", once it has
    // logged its start (all its windows are built then), waiting up to
    // `timeoutMs`; 0 when none came.
    HWND mainWindow(DWORD timeoutMs = 10000) const;

    // Sends one command line to its input.
    void command(const std::string& line);
    // Closes its input, which ends it.
    void closeInput();
    // Its exit code, once it ended within `timeoutMs`; STILL_ACTIVE otherwise.
    DWORD waitForExit(DWORD timeoutMs);

    std::string log() const;
    // Waits up to `timeoutMs` for the log to hold `text`.
    bool waitForLog(const std::string& text, DWORD timeoutMs = 5000) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HANDLE input_ = nullptr;
    std::string logPath_;
};

}  // namespace testing_support
