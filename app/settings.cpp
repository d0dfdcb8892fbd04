#include "app/settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/application_profile.h"
#include "app/data_exchange.h"
#include "app/message_box.h"
#include "app/process_state.h"
#include "platform/support_log.h"

namespace app {
namespace {

const char* const kSection = "Knife Section";
const char* const kEnableKey = "KnifEnable";
const char* const kHeightKey = "Knifdb";
constexpr double kDefaultHeight = 34.4;

// The whole text as one finite number, spaces around it allowed; a decimal
// comma counts as the point it stands for.
bool readHeight(std::string text, double& height) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        if (text.find('.') != std::string::npos || text.find(',', comma + 1) != std::string::npos) return false;
        text[comma] = '.';
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) return false;
    height = value;
    return true;
}

}  // namespace

bool readToolSetterSettings() {
    ProcessState& process = state();
    process.toolSetterEnabled = std::atoi(getProfileString(kSection, kEnableKey, "0").c_str());
    double height = kDefaultHeight;
    if (readHeight(getProfileString(kSection, kHeightKey, "34.4"), height)) {
        process.toolSetterHeight = height;
        platform::logEvent("settings: [%s] %s=%d %s=%.3f", kSection, kEnableKey, process.toolSetterEnabled, kHeightKey,
                           process.toolSetterHeight);
        return true;
    }
    // NcStudio's Z would be set from a height nobody gave.
    process.toolSetterHeight = kDefaultHeight;
    process.toolSetterEnabled = 0;
    platform::logEvent("settings: [%s] %s=\"%s\" is not a height: the tool setter stays off", kSection, kHeightKey,
                       getProfileString(kSection, kHeightKey, "34.4").c_str());
    return false;
}

void writeToolSetterSettings() {
    const ProcessState& process = state();
    char text[64];
    std::snprintf(text, sizeof text, "%d", process.toolSetterEnabled);
    writeProfileString(kSection, kEnableKey, text);
    std::snprintf(text, sizeof text, "%f", process.toolSetterHeight);
    writeProfileString(kSection, kHeightKey, text);
}

void registerAutostart(HWND owner) {
    HKEY run = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &run) != ERROR_SUCCESS) return;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[MAX_PATH - 1] = '\0';
    const LONG set = RegSetValueExA(run, kAutostartValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                    static_cast<DWORD>(std::strlen(path) + 1));
    RegCloseKey(run);
    if (set != ERROR_SUCCESS)
        showMessageBox(owner, kRegisterErrorText, applicationTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace app
