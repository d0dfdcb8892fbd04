#pragma once
// Another thread that owns a named mutex ("mdllhook" unless told otherwise):
// it takes the mutex on construction and holds it until released, or ends
// while holding it (the mutex is then abandoned). For tests of the exports
// that wait for the bridge mutex.
#include <windows.h>

#include <string>

namespace testing_support {

class MutexHolder {
public:
    // Returns once the thread owns the mutex.
    explicit MutexHolder(const char* name = "mdllhook");
    // Releases the mutex (unless abandoned) and joins the thread.
    ~MutexHolder();
    MutexHolder(const MutexHolder&) = delete;
    MutexHolder& operator=(const MutexHolder&) = delete;

    // The thread releases the mutex and ends.
    void release() { finish(false); }
    // The thread ends without releasing: the mutex is abandoned.
    void abandon() { finish(true); }

private:
    static DWORD WINAPI threadMain(LPVOID self);
    void finish(bool abandonIt);

    std::string name_;
    HANDLE taken_ = nullptr;
    HANDLE letGo_ = nullptr;
    HANDLE thread_ = nullptr;
    bool abandon_ = false;
};

// True when a thread other than the caller gets the named mutex at once; it
// gives it back before this returns.
bool otherThreadCanTake(const char* name = "mdllhook");

}  // namespace testing_support
