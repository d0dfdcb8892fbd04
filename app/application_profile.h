#pragma once
// The application profile: a private INI file named after the executable
// with the extension ".INI", in the executable's folder (wheelpad.exe keeps
// its settings in wheelpad.INI beside it).
#include <string>

namespace app {

// Full path of the profile file.
std::string profilePath();

// The value of `key` in `section`, or `defaultValue` when it is missing.
std::string getProfileString(const char* section, const char* key, const char* defaultValue);

// Writes the value; false when the file cannot be written.
bool writeProfileString(const char* section, const char* key, const std::string& value);

}  // namespace app
