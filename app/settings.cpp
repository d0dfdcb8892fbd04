#include "app/settings.h"

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

}  // namespace

void readToolSetterSettings() {
    ProcessState& process = state();
    process.toolSetterEnabled = std::atoi(getProfileString(kSection, kEnableKey, "0").c_str());
    process.toolSetterHeight = std::atof(getProfileString(kSection, kHeightKey, "34.4").c_str());
    platform::logEvent("settings: [%s] %s=%d %s=%.3f", kSection, kEnableKey, process.toolSetterEnabled, kHeightKey,
                       process.toolSetterHeight);
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
