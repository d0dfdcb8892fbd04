#include "pendant/message_pipe.h"

namespace pendant {

namespace {

// An event owned for the length of one overlapped call.
class IoEvent {
public:
    IoEvent() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~IoEvent() {
        if (handle_) CloseHandle(handle_);
    }
    IoEvent(const IoEvent&) = delete;
    IoEvent& operator=(const IoEvent&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// Starts one overlapped read; false when it failed at once for a reason other
// than a pending read or a longer message.
bool startRead(HANDLE pipe, BYTE* buffer, DWORD size, OVERLAPPED& overlapped) {
    if (ReadFile(pipe, buffer, size, nullptr, &overlapped)) return true;
    DWORD error = GetLastError();
    return error == ERROR_IO_PENDING || error == ERROR_MORE_DATA;
}

// Reads and drops what is left of a message longer than the caller's buffer.
bool skipRestOfMessage(HANDLE pipe, HANDLE event) {
    BYTE scratch[64];
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = event;
        if (!startRead(pipe, scratch, sizeof scratch, overlapped)) return false;
        DWORD read = 0;
        if (GetOverlappedResult(pipe, &overlapped, &read, TRUE)) return true;
        if (GetLastError() != ERROR_MORE_DATA) return false;
    }
}

}  // namespace

bool writeMessage(HANDLE pipe, const std::vector<BYTE>& message) {
    IoEvent event;
    if (!event.get()) return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    if (!WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), nullptr, &overlapped) &&
        GetLastError() != ERROR_IO_PENDING)
        return false;
    DWORD written = 0;
    return GetOverlappedResult(pipe, &overlapped, &written, TRUE) && written == message.size();
}

ReadOutcome readMessage(HANDLE pipe, HANDLE stopEvent, DWORD limit, std::vector<BYTE>& message) {
    IoEvent event;
    if (!event.get()) return ReadOutcome::Closed;
    message.assign(limit, 0);
    OVERLAPPED overlapped{};
    overlapped.hEvent = event.get();
    if (!startRead(pipe, message.data(), limit, overlapped)) return ReadOutcome::Closed;

    HANDLE waits[] = {event.get(), stopEvent};
    bool stopped = WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0;
    if (stopped) CancelIo(pipe);
    // Waits for the read to let go of the buffer; a read that completed while
    // the stop came in still delivers its message.
    DWORD read = 0;
    if (GetOverlappedResult(pipe, &overlapped, &read, TRUE)) {
        message.resize(read);
        return ReadOutcome::Message;
    }
    DWORD error = GetLastError();
    if (error == ERROR_MORE_DATA)
        return skipRestOfMessage(pipe, event.get()) ? ReadOutcome::Oversize : ReadOutcome::Closed;
    if (stopped && error == ERROR_OPERATION_ABORTED) return ReadOutcome::Stopped;
    return ReadOutcome::Closed;
}

}  // namespace pendant
