#include "app/support_log_start.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <vector>

#include "app/application_profile.h"
#include "platform/support_log.h"

namespace app {

const char* const kLogSection = "Log Section";
const char* const kLogLevelKey = "LogLevel";

namespace {

platform::LogLevel levelNamed(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "off") return platform::LogLevel::Off;
    if (name == "reports") return platform::LogLevel::Reports;
    return platform::LogLevel::Events;
}

std::string executablePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return path;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string programVersion() {
    const std::string path = executablePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return "unknown";
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()) ||
        !VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return "unknown";
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS));
    return text;
}

// Windows' version as this process sees it, and Wine's when it runs there.
std::string systemVersion() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    char text[160] = "Windows (version unknown)";
    if (GetVersionExA(&version))
        std::snprintf(text, sizeof text, "Windows %lu.%lu build %lu %s",
                      static_cast<unsigned long>(version.dwMajorVersion),
                      static_cast<unsigned long>(version.dwMinorVersion),
                      static_cast<unsigned long>(version.dwBuildNumber), version.szCSDVersion);
    std::string result = text;
    using WineVersionFn = const char*(CDECL*)();
    const auto wineVersion = reinterpret_cast<WineVersionFn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    if (wineVersion) result += std::string(", Wine ") + wineVersion();
    return result;
}

}  // namespace

std::string supportLogPath() { return folderOf(profilePath()) + "\\wheelpad.log"; }

void startSupportLog() {
    platform::nameLogThread("main");
    const std::string level = getProfileString(kLogSection, kLogLevelKey, "events");
    platform::openSupportLog(supportLogPath(), levelNamed(level));
    platform::logEvent("wheelpad %s started on %s, in %s", programVersion().c_str(), systemVersion().c_str(),
                       folderOf(executablePath()).c_str());
    platform::logEvent("settings read from %s: [%s] %s=%s", profilePath().c_str(), kLogSection, kLogLevelKey,
                       level.c_str());
}

void endSupportLog() {
    platform::logEvent("wheelpad ends");
    platform::closeSupportLog();
}

}  // namespace app
