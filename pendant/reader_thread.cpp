// The reader thread: reads the receiver's input reports one at a time and
// hands them on, until closeDevice asks it to stop.
#include "app/process_state.h"
#include "pendant/hid_api.h"
#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"
#include "pendant/report_reader.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr DWORD kInputReportSize = 8;
// How long an idle reader (its handles closed after a failed read) waits
// before it looks at the input handle again.
constexpr DWORD kIdleWaitMs = 100;

}  // namespace

// Runs with the lock held and no reader recorded.
bool PendantDevice::startReader() {
    ResetEvent(readerStop_);
    {
        std::lock_guard<std::mutex> handOver(handOverLock_);
        readerLeft_ = false;
    }
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, readerMain, nullptr, CREATE_SUSPENDED, &id);
    if (!thread) return false;
    ResumeThread(thread);
    readerThread_ = thread;
    return true;
}

DWORD WINAPI PendantDevice::readerMain(void*) {
    // An input attachment belongs to the thread that made it: this reader
    // attaches afresh, whatever an earlier reader was attached to.
    app::state().attachedThreadId = 0;
    platform::nameLogThread("reader");
    device().readerLoop();
    platform::logEvent("reader ends");
    return 0;
}

void PendantDevice::readerLoop() {
    while (!stopRequested()) {
        if (inputHandle_ == INVALID_HANDLE_VALUE) {
            WaitForSingleObject(readerStop_, kIdleWaitMs);
            continue;
        }
        if (readReport()) continue;
        closeAfterFailedRead();
    }
    readerLeaves();
}

bool PendantDevice::stopRequested() const {
    return WaitForSingleObject(readerStop_, 0) == WAIT_OBJECT_0;
}

bool PendantDevice::beginKeyAction() {
    InterlockedExchange(&inKeyAction_, 1);
    if (!stopRequested()) return true;
    InterlockedExchange(&inKeyAction_, 0);
    return false;
}

void PendantDevice::endKeyAction() { InterlockedExchange(&inKeyAction_, 0); }

bool PendantDevice::readerInKeyAction() const {
    return InterlockedCompareExchange(const_cast<volatile LONG*>(&inKeyAction_), 0, 0) != 0;
}

InputRead PendantDevice::readInputReport(BYTE report[8]) {
    const HANDLE input = inputHandle_;
    if (input == INVALID_HANDLE_VALUE) return InputRead::Failed;
    if (stopRequested()) return InputRead::Stopped;
    OVERLAPPED pending = {};
    ResetEvent(readDone_);
    pending.hEvent = readDone_;
    DWORD count = 0;
    if (hid().readFile(input, report, kInputReportSize, &count, &pending)) return InputRead::Report;
    if (GetLastError() != ERROR_IO_PENDING) return InputRead::Failed;

    const HANDLE wakers[2] = {readerStop_, readDone_};
    const DWORD woke = WaitForMultipleObjects(2, wakers, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1) {
        // The read is ours to end before anybody may close the handle.
        hid().cancelIo(input);
        hid().getOverlappedResult(input, &pending, &count, TRUE);
        return woke == WAIT_OBJECT_0 ? InputRead::Stopped : InputRead::Failed;
    }
    return hid().getOverlappedResult(input, &pending, &count, FALSE) ? InputRead::Report
                                                                     : InputRead::Failed;
}

// The receiver went away under the pending read: no key stays held, both
// handles are closed and the link is marked down. A closeDevice already
// under way closes the handles itself.
void PendantDevice::closeAfterFailedRead() {
    platform::logEvent("link down: a read of the receiver failed, error %s", platform::errorText(GetLastError()).c_str());
    app::state().linkUp = 0;
    releaseHeldKeysOnLinkLoss("read failed");
    const HANDLE wakers[2] = {readerStop_, lock_};
    const DWORD woke = WaitForMultipleObjects(2, wakers, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1 && woke != WAIT_ABANDONED_0 + 1) return;
    if (inputHandle_ != INVALID_HANDLE_VALUE) closeHandles();
    ReleaseMutex(lock_);
}

// Last acts of the reader: nothing stays held, and the handles a closeDevice
// that could not wait for it left behind are closed.
void PendantDevice::readerLeaves() {
    releaseHeldKeysOnLinkLoss("reader ends");
    std::lock_guard<std::mutex> handOver(handOverLock_);
    readerLeft_ = true;
    if (handedFeature_ != INVALID_HANDLE_VALUE) hid().closeHandle(handedFeature_);
    if (handedInput_ != INVALID_HANDLE_VALUE) hid().closeHandle(handedInput_);
    handedFeature_ = INVALID_HANDLE_VALUE;
    handedInput_ = INVALID_HANDLE_VALUE;
}

}  // namespace pendant
