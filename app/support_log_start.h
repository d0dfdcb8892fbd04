#pragma once
// The support log's start and end in wheelpad: its level from the profile,
// the file beside the profile, and the lines that say what ran where.
#include <string>

namespace app {

// The profile's [Log Section] LogLevel: "off", "events" (also when missing
// or unknown) or "reports" (events and every input report).
extern const char* const kLogSection;
extern const char* const kLogLevelKey;

// wheelpad.log beside the profile file.
std::string supportLogPath();

// Opens the log and writes the start: program version, Windows (or Wine)
// version, the executable's folder and the settings read.
void startSupportLog();

// Writes the end and puts every line on disk.
void endSupportLog();

}  // namespace app
