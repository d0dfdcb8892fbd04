#include "pendant/receiver_pipe_link.h"

#include "pendant/message_pipe.h"

namespace pendant {

namespace protocol = receiver_protocol;

std::unique_ptr<ReceiverPipeLink> ReceiverPipeLink::connect(const std::string& pipeName,
                                                            Listener& listener) {
    // A pendant that is busy with another receiver counts as absent.
    HANDLE pipe = CreateFileA(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return nullptr;
    DWORD mode = PIPE_READMODE_MESSAGE;
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr) || !stop) {
        if (stop) CloseHandle(stop);
        CloseHandle(pipe);
        return nullptr;
    }
    return std::unique_ptr<ReceiverPipeLink>(new ReceiverPipeLink(pipe, stop, listener));
}

ReceiverPipeLink::ReceiverPipeLink(HANDLE pipe, HANDLE stop, Listener& listener)
    : pipe_(pipe), stop_(stop), listener_(listener) {}

ReceiverPipeLink::~ReceiverPipeLink() {
    SetEvent(stop_);
    if (reader_.joinable()) reader_.join();
    CloseHandle(pipe_);
    CloseHandle(stop_);
}

void ReceiverPipeLink::start() { reader_ = std::thread([this] { run(); }); }

bool ReceiverPipeLink::send(const std::vector<BYTE>& record) { return writeMessage(pipe_, record); }

void ReceiverPipeLink::run() {
    std::vector<BYTE> buffer;
    for (;;) {
        ReadOutcome outcome = readMessage(pipe_, stop_, protocol::kMaxMessageSize, buffer);
        if (outcome == ReadOutcome::Stopped) return;
        if (outcome == ReadOutcome::Closed) break;
        protocol::Message message;
        if (outcome != ReadOutcome::Message ||
            !protocol::decode(buffer.data(), static_cast<DWORD>(buffer.size()), message))
            continue;  // not a record a pendant sends: ignored
        if (message.tag == protocol::kInputReport)
            listener_.onInputReport(*this, message.report);
        else if (message.tag == protocol::kFeatureAnswer)
            listener_.onFeatureAnswer(*this, message.sequence, message.report);
    }
    listener_.onLinkClosed(*this);
}

}  // namespace pendant
