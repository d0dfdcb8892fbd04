#include "app/application_profile.h"

#include <windows.h>

namespace app {

std::string profilePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string file = path;
    const size_t slash = file.find_last_of("\\/");
    const size_t dot = file.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    return file + ".INI";
}

std::string getProfileString(const char* section, const char* key, const char* defaultValue) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, sizeof value, profilePath().c_str());
    return value;
}

bool writeProfileString(const char* section, const char* key, const std::string& value) {
    return WritePrivateProfileStringA(section, key, value.c_str(), profilePath().c_str()) != FALSE;
}

}  // namespace app
