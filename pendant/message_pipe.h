#pragma once
// Whole-message I/O on a message-mode pipe handle opened for overlapped I/O,
// so that one thread can wait for the next message while others write.
#include <windows.h>

#include <vector>

namespace pendant {

// Writes one message and waits until the pipe has taken it.
bool writeMessage(HANDLE pipe, const std::vector<BYTE>& message);

enum class ReadOutcome {
    Message,   // `message` holds the next message
    Oversize,  // a message longer than `limit` arrived and was skipped
    Stopped,   // `stopEvent` was signalled; the read was cancelled
    Closed,    // the other end has gone (or the pipe failed)
};

// Waits for the next message of at most `limit` bytes.
ReadOutcome readMessage(HANDLE pipe, HANDLE stopEvent, DWORD limit, std::vector<BYTE>& message);

}  // namespace pendant
