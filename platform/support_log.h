#pragma once
// The support log: what wheelpad and ncbridge saw and did, one line per event
// ("2026-12-08 17:07:02.009 reader  key event: ..."), in wheelpad.log beside
// the settings file, for an operator to send after a fault.
//
// wheelpad opens the log; ncbridge, loaded into the same process, writes
// into it through the same unit built into the library. The program's copy
// publishes its line sink under a name of its own process ("wheelpad-log-"
// and the process id); the library's copy finds it at its first line. A
// line is formatted on the calling thread and appended to a memory buffer
// under a short lock; a writer thread of its own puts the buffer on disk, so
// no caller ever waits on the disk. The file is capped: past about 1 MB it
// becomes wheelpad.log.1 (the one older file kept) and a new one begins. A
// file that cannot be written costs nothing but the lines.
#include <windows.h>

#include <string>

namespace platform {

enum class LogLevel : LONG {
    Off = 0,
    Events = 1,
    // Events and every input report of the receiver.
    Reports = 2,
};

// The size at which the log becomes the older file.
constexpr DWORD kLogCapBytes = 1000 * 1000;

// Opens the log at `path` (appending) with `level`, starts its writer and
// publishes it to the process's other modules. Off opens nothing.
void openSupportLog(const std::string& path, LogLevel level);

// Puts every line written so far on disk and ends the writer; later lines
// are dropped until the log is opened again.
void closeSupportLog();

// The name this thread's lines carry ("main", "reader", "poller", "release");
// a thread without one shows its id.
void nameLogThread(const char* name);

// True when lines of `level` are written.
bool logWanted(LogLevel level);

// One event line (printf format); nothing when the log is off.
void logEvent(const char* format, ...) __attribute__((format(printf, 1, 2)));

// One line of `level`.
void logAt(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The last text of a line that is written only when it changes (a state
// looked at again and again). Owned by one thread.
struct LogChange {
    char last[160] = "";
};

// One event line unless its text is the one `change` holds.
void logEventOnChange(LogChange& change, const char* format, ...) __attribute__((format(printf, 2, 3)));

// A system error code with its text: "5 (Access is denied.)".
std::string errorText(DWORD code);

}  // namespace platform
