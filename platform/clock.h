#pragma once
// The clock seam: every Sleep and GetTickCount of wheelpad and ncbridge goes
// through here. Production uses the real calls; tests install a virtual clock
// so that waits are exact and cost no real time.
#include <windows.h>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleep(DWORD ms) = 0;
    virtual DWORD tickCount() = 0;
};

// Replaces the clock of this module; nullptr brings back the real one.
void installClock(Clock* clock);

void sleepMs(DWORD ms);
DWORD tickCount();

}  // namespace platform
