#pragma once
// The stand-in NcStudio's log: one line per action that reaches its windows
// and per change it shows, each with the local time of day to the
// millisecond, in UTF-8, written to stdout or to a file and flushed line by
// line.
#include <windows.h>

#include <cstdio>
#include <mutex>
#include <string>

#include "standin/ncstudio/host_thread.h"

namespace standin {

class ActionLog {
public:
    // Logs to `path`, or to stdout when it is empty; false when the file
    // cannot be opened.
    bool open(const std::string& path);
    ~ActionLog();

    // "12:30:01.250 <text>"
    void write(const std::string& text);

private:
    std::mutex lock_;
    FILE* file_ = stdout;
};

// What a message from outside did, in words: the window by its text (or
// `windowName` when it has none), the message, its key or command.
std::string describeAction(const Received& received, const std::string& windowName);

}  // namespace standin
