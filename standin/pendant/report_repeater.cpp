#include "standin/pendant/report_repeater.h"

#include <chrono>

namespace standin {
namespace {

// Bytes of the input report: the two keys and the wheel count.
constexpr size_t kFirstKey = 2;
constexpr size_t kSecondKey = 3;
constexpr size_t kWheelCount = 6;

}  // namespace

ReportRepeater::ReportRepeater(Sender send, DWORD periodMs)
    : send_(std::move(send)), periodMs_(periodMs), thread_([this] { run(); }) {}

ReportRepeater::~ReportRepeater() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ReportRepeater::setPeriod(DWORD periodMs) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        periodMs_ = periodMs;
    }
    changed_.notify_all();
}

bool ReportRepeater::holdsSomething(const Report& report) {
    return report[kFirstKey] != 0 || report[kSecondKey] != 0 || report[kWheelCount] != 0;
}

bool ReportRepeater::send(const Report& report, const Report& standing) {
    // Sent under the lock: a repeat never overtakes the report it repeats.
    std::lock_guard<std::mutex> hold(lock_);
    const bool sent = send_(report);
    const bool wasHolding = holdsSomething(standing_) || holdsSomething(report);
    standing_ = standing;
    if (!holdsSomething(standing)) trailing_ = wasHolding ? kTrailingReports : 0;
    changed_.notify_all();
    return sent;
}

void ReportRepeater::run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stopping_) {
        if (periodMs_ == 0 || (!holdsSomething(standing_) && trailing_ == 0)) {
            changed_.wait(hold);
            continue;
        }
        // Any send restarts the period: a repeat comes a full period after
        // the report before it.
        if (changed_.wait_for(hold, std::chrono::milliseconds(periodMs_)) == std::cv_status::no_timeout) continue;
        if (stopping_ || periodMs_ == 0) continue;
        if (!holdsSomething(standing_)) --trailing_;
        send_(standing_);
    }
}

}  // namespace standin
