#include "tests/system/virtual_pendant_rig.h"

#include "standin/virtual_pendant/pendant_window.h"
#include "tests/support/process_windows.h"

namespace system_testing {

VirtualPendantProcess::VirtualPendantProcess(const std::string& transport) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    logPath_ = std::string(folder) + "virtual-pendant-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(logPath_.c_str());
    testing_support::startProgram("\"" + testing_support::programFolder() + "virtual_pendant.exe\" " + transport +
                                      " --log \"" + logPath_ + "\"",
                                  process_, processId_);
}

VirtualPendantProcess::~VirtualPendantProcess() {
    if (!process_) return;
    PostMessageA(window(0), WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
    CloseHandle(process_);
}

HWND VirtualPendantProcess::window(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        HWND found = testing_support::findProcessWindow(processId_, virtual_pendant::kWindowTitle);
        if (found && IsWindowVisible(found)) return found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool VirtualPendantProcess::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::string VirtualPendantProcess::controlText(int id) const {
    char text[256] = {};
    GetWindowTextA(GetDlgItem(window(0), id), text, sizeof text);
    return text;
}

bool VirtualPendantProcess::waitForControlText(int id, const std::string& text, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        if (controlText(id).find(text) != std::string::npos) return true;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

std::string VirtualPendantProcess::log() const { return testing_support::fileText(logPath_); }

void VirtualPendantProcess::pointAt(int id, const std::string& action) const {
    RECT area = {};
    GetWindowRect(GetDlgItem(window(0), id), &area);
    xdotool("mousemove " + std::to_string((area.left + area.right) / 2) + " " +
            std::to_string((area.top + area.bottom) / 2) + " " + action);
}

bool xdotool(const std::string& arguments) {
    // Wine starts a Unix program but gives no handle to wait on: the shell
    // leaves a file behind when xdotool has ended.
    static int count = 0;
    const std::string marker =
        "/tmp/wheelpad-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    std::string commandLine = "/bin/sh -c \"xdotool " + arguments + "; : > " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    const std::string markerPath = "Z:" + marker;
    for (int tries = 0; tries < 100; ++tries) {
        if (GetFileAttributesA(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA(markerPath.c_str());
            return true;
        }
        Sleep(20);
    }
    return false;
}

}  // namespace system_testing
