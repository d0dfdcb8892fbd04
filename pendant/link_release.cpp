// The release thread: hands ncbridge the release of a held key when the link
// goes down, so that the threads that notice it (main, reader, polling) never
// wait for a key action still running in ncbridge.
#include <mutex>

#include "pendant/key_dispatch.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

struct ReleaseThread {
    HANDLE wake = nullptr;  // auto-reset: a request was recorded
    HANDLE idle = nullptr;  // manual reset: no request is under way
    volatile LONG requested = 0;
    // The last request's cause and time, for the log.
    const char* volatile why = "";
    volatile DWORD askedAt = 0;
};

// Between two tries while ncbridge's mutex is busy, the reader thread gets
// its turn at the hand-over: its next event may end the hold itself.
constexpr DWORD kRetryPauseMs = 20;

ReleaseThread releaser;
std::once_flag started;

void handOverUntilDone() {
    const char* why = releaser.why;
    const DWORD askedAt = releaser.askedAt;
    const DWORD start = platform::tickCount();
    int tries = 1;
    ReleaseOutcome outcome;
    while ((outcome = handOverRelease()) == ReleaseOutcome::Retry) {
        platform::sleepMs(kRetryPauseMs);
        ++tries;
    }
    if (outcome == ReleaseOutcome::NothingHeld) {
        platform::logEvent("release (%s): nothing held", why);
        return;
    }
    platform::logEvent("release (%s): reached KeyBoardProc %lu ms after it was asked for, done %lu ms later; "
                       "handed over %d time(s) while \"mdllhook\" was busy", why,
                       static_cast<unsigned long>(start - askedAt),
                       static_cast<unsigned long>(platform::tickCount() - start), tries - 1);
}

DWORD WINAPI releaseThreadMain(LPVOID) {
    platform::nameLogThread("release");
    for (;;) {
        WaitForSingleObject(releaser.wake, INFINITE);
        for (;;) {
            while (InterlockedExchange(&releaser.requested, 0)) handOverUntilDone();
            SetEvent(releaser.idle);
            // A request recorded while idle was being set is not lost.
            if (InterlockedCompareExchange(&releaser.requested, 0, 0) == 0) break;
            ResetEvent(releaser.idle);
        }
    }
}

void startReleaseThread() {
    releaser.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    releaser.idle = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, releaseThreadMain, nullptr, 0, nullptr);
    if (thread) CloseHandle(thread);
}

}  // namespace

void releaseHeldKeysOnLinkLoss(const char* why) {
    std::call_once(started, startReleaseThread);
    releaser.why = why;
    releaser.askedAt = platform::tickCount();
    InterlockedExchange(&releaser.requested, 1);
    ResetEvent(releaser.idle);
    SetEvent(releaser.wake);
}

bool waitForLinkRelease(DWORD timeoutMs) {
    if (!releaser.idle) return true;
    return WaitForSingleObject(releaser.idle, timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace pendant
