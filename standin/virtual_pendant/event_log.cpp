#include "standin/virtual_pendant/event_log.h"

namespace virtual_pendant {

bool EventLog::open(const std::string& path) {
    if (path.empty()) return true;
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

EventLog::~EventLog() {
    if (file_) std::fclose(file_);
}

void EventLog::write(const std::string& text) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!file_) return;
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace virtual_pendant
