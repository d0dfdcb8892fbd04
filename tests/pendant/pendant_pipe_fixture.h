#pragma once
// A stand-in pendant serving a pipe of its own and a virtual receiver on that
// pipe, with a record of the feature reports that reach the pendant.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "pendant/virtual_receiver.h"
#include "standin/pendant/pendant_server.h"

namespace testing_support {

class FeatureReportRecord {
public:
    void add(const standin::Report& report) {
        std::lock_guard<std::mutex> hold(lock_);
        reports_.push_back(report);
        arrived_.notify_all();
    }

    // Waits up to two seconds for `count` reports in all.
    bool waitFor(size_t count) {
        std::unique_lock<std::mutex> hold(lock_);
        return arrived_.wait_for(hold, std::chrono::seconds(2), [&] { return reports_.size() >= count; });
    }

    std::vector<standin::Report> reports() const {
        std::lock_guard<std::mutex> hold(lock_);
        return reports_;
    }

private:
    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<standin::Report> reports_;
};

class PendantPipeFixture : public ::testing::Test {
protected:
    static std::string freshPipeName() {
        static int count = 0;
        return "\\\\.\\pipe\\wheelpad-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++count);
    }

    void SetUp() override { ASSERT_TRUE(pendant.start()); }

    const std::string pipeName = freshPipeName();
    FeatureReportRecord written;
    standin::PendantServer pendant{pipeName, [this](const standin::Report& r) { written.add(r); }};
    pendant::VirtualReceiver receiver{pipeName};
};

}  // namespace testing_support
