#pragma once
// The virtual pendant's log: one line a event (receiver connected, a report
// sent, the display as it changed), to a file, or nowhere.
#include <cstdio>
#include <mutex>
#include <string>

namespace virtual_pendant {

class EventLog {
public:
    // An empty path logs nothing; false when the file cannot be opened.
    bool open(const std::string& path);
    ~EventLog();
    void write(const std::string& text);

private:
    std::mutex lock_;
    std::FILE* file_ = nullptr;
};

}  // namespace virtual_pendant
