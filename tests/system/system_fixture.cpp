#include "tests/system/system_fixture.h"

#include "tests/support/process_windows.h"

#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace system_testing {

Pendant::Pendant(const std::string& pipeName)
    : Pendant([&pipeName](standin::ReceiverTransport::FeatureSink sink) {
          return std::make_unique<standin::PendantServer>(pipeName, std::move(sink));
      }) {}

Pendant::Pendant(const MakeTransport& make)
    : server_(make([this](const standin::Report& report) { onFeatureReport(report); })),
      repeater_([this](const standin::Report& report) { return server_->sendInputReport(report); }) {}

void Pendant::send(const std::string& command) {
    std::optional<standin::PendantCommand> parsed;
    std::string error;
    ASSERT_TRUE(standin::parseCommand(command, parsed, error)) << error;
    ASSERT_TRUE(parsed.has_value());
    if (parsed->kind == standin::PendantCommand::Kind::Repeat) {
        repeater_.setPeriod(static_cast<DWORD>(parsed->first));
        return;
    }
    const standin::Report report = controls_.apply(*parsed);
    EXPECT_TRUE(repeater_.send(report, controls_.standing())) << command;
}

void Pendant::onFeatureReport(const standin::Report& report) {
    std::lock_guard<std::mutex> hold(lock_);
    written_.push_back(report);
    if (assembler_.add(report) != standin::DisplayAssembler::Outcome::FrameComplete) return;
    shown_.clear();
    for (const std::string& line : assembler_.display().lines) shown_ += line + "|";
    ++frames_;
}

bool Pendant::waitForDisplay(const std::string& text, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        {
            std::lock_guard<std::mutex> hold(lock_);
            if (shown_.find(text) != std::string::npos) return true;
        }
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

int Pendant::frames() const {
    std::lock_guard<std::mutex> hold(lock_);
    return frames_;
}

std::vector<standin::Report> Pendant::written() const {
    std::lock_guard<std::mutex> hold(lock_);
    return written_;
}

WheelpadProcess::WheelpadProcess(const std::string& pipeName) {
    if (!pipeName.empty()) SetEnvironmentVariableA("WHEELPAD_RECEIVER", pipeName.c_str());
    testing_support::startProgram("\"" + testing_support::programFolder() + "wheelpad.exe\"", process_, processId_);
    SetEnvironmentVariableA("WHEELPAD_RECEIVER", nullptr);
}

WheelpadProcess::~WheelpadProcess() {
    if (!process_) return;
    if (waitForExit(0) == STILL_ACTIVE) {
        post(WM_CLOSE);
        if (waitForExit(5000) == STILL_ACTIVE) TerminateProcess(process_, 1);
    }
    CloseHandle(process_);
}

HWND WheelpadProcess::mainWindow(DWORD timeoutMs) const { return window("RZWN-1.4", timeoutMs); }

HWND WheelpadProcess::window(const std::string& titlePart, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        if (HWND found = testing_support::findProcessWindow(processId_, titlePart)) return found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

void WheelpadProcess::post(UINT message, WPARAM wParam, LPARAM lParam) const {
    PostMessageA(mainWindow(0), message, wParam, lParam);
}

// Wine answers GetProcessHandleCount with 0 for another process; the
// system's handle table tells each handle's owner.
DWORD WheelpadProcess::handleCount() const {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    constexpr ULONG kSystemHandleInformation = 16;
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> table(1 << 20);
    ULONG needed = 0;
    while (query && query(kSystemHandleInformation, table.data(), static_cast<ULONG>(table.size()), &needed) != 0) {
        if (table.size() >= (64u << 20)) return 0;
        table.resize(table.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(table.data());
    const auto* entries = reinterpret_cast<const Entry*>(table.data() + sizeof(ULONG_PTR));
    DWORD owned = 0;
    for (ULONG i = 0; i < count; ++i) owned += entries[i].ownerPid == processId_;
    return owned;
}

int WheelpadProcess::threadCount() const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == processId_;
    CloseHandle(snapshot);
    return count;
}

DWORD WheelpadProcess::waitForExit(DWORD timeoutMs) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
}

int nowMs() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

int loggedAt(const std::string& log, const std::string& text, int fromMs) {
    size_t lineStart = 0;
    while (lineStart < log.size()) {
        size_t lineEnd = log.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = log.size();
        const std::string line = log.substr(lineStart, lineEnd - lineStart);
        unsigned hours = 0, minutes = 0, seconds = 0, millis = 0;
        if (std::sscanf(line.c_str(), "%u:%u:%u.%u", &hours, &minutes, &seconds, &millis) == 4) {
            const int stamp = static_cast<int>(((hours * 60 + minutes) * 60 + seconds) * 1000 + millis);
            if (stamp >= fromMs && line.find(text) != std::string::npos) return stamp;
        }
        lineStart = lineEnd + 1;
    }
    return -1;
}

int countOf(const std::string& log, const std::string& text) {
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
}

std::string SystemTest::freshPipeName() {
    static int count = 0;
    return "\\\\.\\pipe\\wheelpad-system-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
}

bool SystemTest::waitUntilBound(HWND ncstudioMain, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (IsZoomed(ncstudioMain)) return true;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool SystemTest::waitForCount(const testing_support::NcStudioProcess& ncstudio, const std::string& text, int count,
                              DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (countOf(ncstudio.log(), text) >= count) return true;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

void Running::startAll(int generation) {
    ASSERT_TRUE(pendant.start());
    ncstudio = std::make_unique<testing_support::NcStudioProcess>(generation, "--inactive");
    HWND main = ncstudio->mainWindow();
    ASSERT_NE(main, nullptr);
    wheelpad = std::make_unique<WheelpadProcess>(pipeName);
    ASSERT_NE(wheelpad->mainWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(wheelpad->mainWindow())) << "only the tray icon shows";
    // Bound when it comes to the front: NcStudio is maximised. Mapped
    // while it stays in front: the display shows X.
    ncstudio->command("front");
    ASSERT_TRUE(waitUntilBound(main, 5000));
    ncstudio->command("front");
    pendant.send("axis X");
    ASSERT_TRUE(pendant.waitForDisplay("X:", 5000));
    pendant.send("wheel 1");
    pendant.send("release");
    Sleep(1000);
}

void Running::TearDown() {
    if (HasFailure() && ncstudio) std::printf("NcStudio's log:\n%s\n", ncstudio->log().c_str());
}

}  // namespace system_testing
