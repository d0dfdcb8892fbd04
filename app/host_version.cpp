#include "app/host_version.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/process_state.h"
#include "platform/support_log.h"

namespace app {
namespace {

constexpr unsigned kGeneration1Major = 5;

}  // namespace

bool readHostVersion() {
    ProcessState& process = state();
    const std::string path = process.hostExePath;
    if (path.empty()) return false;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    const unsigned major = HIWORD(fixed->dwProductVersionMS);
    platform::logEvent("NcStudio's product version: %u.%u.%u.%u", major, LOWORD(fixed->dwProductVersionMS),
                       HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
    process.verFlag = major == kGeneration1Major ? 0 : 1;
    char text[128];
    std::snprintf(text, sizeof text, "Qovar无线手轮MP40R驱动 维宏系统专用->Ncstudio V%u", major);
    process.aboutText = text;
    return true;
}

}  // namespace app
