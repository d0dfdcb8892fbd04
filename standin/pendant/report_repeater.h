#pragma once
// A receiver that repeats the pendant's report while something is held: the
// current report goes out again every period while a key is down or the
// wheel keeps turning, and a few reports without a key follow a release.
// With a period of 0 every report goes out once, as the command sent it.
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "pendant/receiver_protocol.h"

namespace standin {

using pendant::receiver_protocol::Report;

class ReportRepeater {
public:
    // Sends one report to the receiver; false while none is connected.
    using Sender = std::function<bool(const Report&)>;

    // Reports without a key that follow a release (or the wheel stopping).
    static constexpr int kTrailingReports = 3;

    explicit ReportRepeater(Sender send, DWORD periodMs = 0);
    ~ReportRepeater();
    ReportRepeater(const ReportRepeater&) = delete;
    ReportRepeater& operator=(const ReportRepeater&) = delete;

    void setPeriod(DWORD periodMs);

    // Sends `report` now; `standing` is the report as the controls now stand
    // (a one-off wheel count taken out), which the repeats carry. Returns
    // what the first send returned.
    bool send(const Report& report, const Report& standing);

private:
    static bool holdsSomething(const Report& report);
    void run();

    const Sender send_;
    std::mutex lock_;
    std::condition_variable changed_;
    DWORD periodMs_;
    Report standing_{};
    int trailing_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace standin
