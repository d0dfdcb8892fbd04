#pragma once
// The named mutex "mdllhook" that serialises installhook, the status readers
// and KeyBoardProc across threads (and processes). Each waits at most 500 ms.
#include <windows.h>

namespace bridge {

constexpr DWORD kMutexWaitMs = 500;

// Creates the mutex (not owned) at library start-up; closes it at shut-down.
void createBridgeMutex();
void closeBridgeMutex();

// One ReleaseMutex call without waiting; has an effect only for the owner.
void releaseBridgeMutexOnce();

// Holds the mutex for one export call. A wait that times out leaves the
// export to give up with its time-out result; any other wait result (also an
// abandoned mutex or a failed wait) lets it go on. When the mutex could not be
// created, exports run unlocked.
class MutexHold {
public:
    MutexHold();
    ~MutexHold();
    MutexHold(const MutexHold&) = delete;
    MutexHold& operator=(const MutexHold&) = delete;

    bool timedOut() const { return timedOut_; }

private:
    bool timedOut_ = false;
};

}  // namespace bridge
