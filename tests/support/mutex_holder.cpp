#include "tests/support/mutex_holder.h"

namespace testing_support {

MutexHolder::MutexHolder(const char* name) : name_(name) {
    taken_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    letGo_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, nullptr);
    WaitForSingleObject(taken_, INFINITE);
}

MutexHolder::~MutexHolder() {
    finish(abandon_);
    CloseHandle(taken_);
    CloseHandle(letGo_);
}

DWORD WINAPI MutexHolder::threadMain(LPVOID param) {
    auto* self = static_cast<MutexHolder*>(param);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, self->name_.c_str());
    WaitForSingleObject(mutex, INFINITE);
    SetEvent(self->taken_);
    WaitForSingleObject(self->letGo_, INFINITE);
    if (!self->abandon_) ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}

void MutexHolder::finish(bool abandonIt) {
    if (!thread_) return;
    abandon_ = abandonIt;
    SetEvent(letGo_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

namespace {

struct TakeAttempt {
    const char* name;
    bool taken;
};

DWORD WINAPI tryTake(LPVOID param) {
    auto* attempt = static_cast<TakeAttempt*>(param);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, attempt->name);
    if (!mutex) return 0;
    DWORD result = WaitForSingleObject(mutex, 0);
    attempt->taken = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    if (attempt->taken) ReleaseMutex(mutex);
    CloseHandle(mutex);
    return 0;
}

}  // namespace

bool otherThreadCanTake(const char* name) {
    TakeAttempt attempt = {name, false};
    HANDLE thread = CreateThread(nullptr, 0, tryTake, &attempt, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return attempt.taken;
}

}  // namespace testing_support
