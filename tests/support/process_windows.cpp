#include "tests/support/process_windows.h"

#include <fstream>
#include <sstream>

namespace testing_support {
namespace {

struct WindowSearch {
    DWORD processId;
    const std::string& titlePart;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char title[100] = {};
    GetWindowTextA(window, title, sizeof title);
    if (processId != search->processId || std::string(title).find(search->titlePart) == std::string::npos)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool startProgram(std::string commandLine, HANDLE& process, DWORD& processId) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    process = info.hProcess;
    processId = info.dwProcessId;
    return true;
}

std::string fileText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string programFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder;
}

HWND findProcessWindow(DWORD processId, const std::string& titlePart) {
    WindowSearch search = {processId, titlePart, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace testing_support
