#pragma once
// A virtual clock for the clock seam: sleeps advance virtual time at once and
// are recorded, so tests assert exact waits without waiting.
#include <windows.h>

#include <functional>
#include <mutex>
#include <vector>

#include "platform/clock.h"

namespace testing_support {

class VirtualClock : public platform::Clock {
public:
    // Installs itself as the clock of this module until destroyed.
    explicit VirtualClock(DWORD start = 100000);
    ~VirtualClock() override;

    void sleep(DWORD ms) override;
    DWORD tickCount() override;

    // Called at the start of every sleep, before time advances: lets the
    // stand-in NcStudio handle what was posted to it at the current time.
    void onSleep(std::function<void()> hook) { hook_ = std::move(hook); }

    void advance(DWORD ms);
    DWORD now() const;
    std::vector<DWORD> sleeps() const;
    void clearSleeps();

private:
    mutable std::mutex lock_;
    DWORD now_;
    std::vector<DWORD> sleeps_;
    std::function<void()> hook_;
};

}  // namespace testing_support
