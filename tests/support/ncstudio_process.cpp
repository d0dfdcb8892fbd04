#include "tests/support/ncstudio_process.h"

#include "tests/support/process_windows.h"

namespace testing_support {
std::string ncstudioPath(int major) { return programFolder() + "ncstudio-v" + std::to_string(major) + "\\ncstudio.exe"; }

NcStudioProcess::NcStudioProcess(int major, const std::string& options) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int count = 0;
    logPath_ = std::string(temp) + "ncstudio-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++count) + ".log";
    DeleteFileA(logPath_.c_str());

    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE childInput = nullptr;
    if (!CreatePipe(&childInput, &input_, &inheritable, 0)) return;
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = "\"" + ncstudioPath(major) + "\" --stdin --log \"" + logPath_ + "\" " + options;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
    }
    CloseHandle(childInput);
}

NcStudioProcess::~NcStudioProcess() {
    closeInput();
    if (process_ && waitForExit(5000) == STILL_ACTIVE) TerminateProcess(process_, 1);
    if (process_) CloseHandle(process_);
    DeleteFileA(logPath_.c_str());
}

HWND NcStudioProcess::mainWindow(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    if (!waitForLog(" started: ", timeoutMs)) return nullptr;  // all its windows are built
    do {
        if (HWND found = findProcessWindow(processId_, "NcStudio")) return found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void NcStudioProcess::command(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    if (input_) WriteFile(input_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void NcStudioProcess::closeInput() {
    if (input_) CloseHandle(input_);
    input_ = nullptr;
}

DWORD NcStudioProcess::waitForExit(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::string NcStudioProcess::log() const { return fileText(logPath_); }

bool NcStudioProcess::waitForLog(const std::string& text, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        if (log().find(text) != std::string::npos) return true;
        Sleep(5);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

}  // namespace testing_support
