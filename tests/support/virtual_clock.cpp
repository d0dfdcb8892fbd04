#include "tests/support/virtual_clock.h"

namespace testing_support {

VirtualClock::VirtualClock(DWORD start) : now_(start) { platform::installClock(this); }

VirtualClock::~VirtualClock() { platform::installClock(nullptr); }

void VirtualClock::sleep(DWORD ms) {
    if (hook_) hook_();
    std::lock_guard<std::mutex> guard(lock_);
    sleeps_.push_back(ms);
    now_ += ms;
}

DWORD VirtualClock::tickCount() { return now(); }

void VirtualClock::advance(DWORD ms) {
    std::lock_guard<std::mutex> guard(lock_);
    now_ += ms;
}

DWORD VirtualClock::now() const {
    std::lock_guard<std::mutex> guard(lock_);
    return now_;
}

std::vector<DWORD> VirtualClock::sleeps() const {
    std::lock_guard<std::mutex> guard(lock_);
    return sleeps_;
}

void VirtualClock::clearSleeps() {
    std::lock_guard<std::mutex> guard(lock_);
    sleeps_.clear();
}

}  // namespace testing_support
