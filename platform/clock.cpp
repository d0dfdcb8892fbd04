#include "platform/clock.h"

namespace platform {
namespace {

class RealClock : public Clock {
public:
    void sleep(DWORD ms) override { ::Sleep(ms); }
    DWORD tickCount() override { return ::GetTickCount(); }
};

RealClock realClock;
Clock* current = &realClock;

}  // namespace

void installClock(Clock* clock) { current = clock ? clock : &realClock; }

void sleepMs(DWORD ms) { current->sleep(ms); }

DWORD tickCount() { return current->tickCount(); }

}  // namespace platform
