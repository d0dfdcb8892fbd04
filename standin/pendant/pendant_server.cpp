#include "standin/pendant/pendant_server.h"

#include <chrono>

#include "pendant/message_pipe.h"

namespace standin {

namespace protocol = pendant::receiver_protocol;

Report statusReport(BYTE reportId, const PendantStatus& status) {
    return {reportId,
            status.handwheelChannel,
            status.toolSetterChannel,
            LOBYTE(status.handwheelId),
            LOBYTE(status.toolSetterId),
            HIBYTE(status.handwheelId),
            HIBYTE(status.toolSetterId),
            0};
}

PendantServer::PendantServer(std::string pipeName, FeatureSink onFeatureReport)
    : pipeName_(std::move(pipeName)),
      onFeatureReport_(std::move(onFeatureReport)),
      wake_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

PendantServer::~PendantServer() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        SetEvent(wake_);
    }
    if (thread_.joinable()) thread_.join();
    if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
    CloseHandle(wake_);
}

bool PendantServer::start() {
    pipe_ = CreateNamedPipeA(pipeName_.c_str(),
                             PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                             PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 4096, 4096, 0,
                             nullptr);
    if (pipe_ == INVALID_HANDLE_VALUE || !wake_) return false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void PendantServer::setStatus(const PendantStatus& status) {
    std::lock_guard<std::mutex> hold(lock_);
    status_ = status;
}

int PendantServer::statusReads() const {
    std::lock_guard<std::mutex> hold(lock_);
    return statusReads_;
}

bool PendantServer::sendInputReport(const Report& report) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!connected_) return false;
    }
    return pendant::writeMessage(pipe_, protocol::encodeInputReport(report));
}

bool PendantServer::waitForReceiver(DWORD timeoutMs) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs), [this] { return connected_; });
}

void PendantServer::dropReceiver() {
    std::lock_guard<std::mutex> hold(lock_);
    if (connected_) SetEvent(wake_);
}

void PendantServer::clearWakeLocked() {
    if (!stopping_) ResetEvent(wake_);
}

void PendantServer::run() {
    HANDLE connected = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    while (connected && acceptReceiver(connected)) {
        serveReceiver();
        DisconnectNamedPipe(pipe_);
        std::lock_guard<std::mutex> hold(lock_);
        connected_ = false;
        clearWakeLocked();
        changed_.notify_all();
        if (stopping_) break;
    }
    if (connected) CloseHandle(connected);
}

// Waits for a receiver to connect; false when the server stops or the pipe fails.
bool PendantServer::acceptReceiver(HANDLE connected) {
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = connected;
        bool done = ConnectNamedPipe(pipe_, &overlapped);
        DWORD error = done ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_IO_PENDING) {
            HANDLE waits[] = {connected, wake_};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) CancelIo(pipe_);
            DWORD unused = 0;
            done = GetOverlappedResult(pipe_, &overlapped, &unused, TRUE);
            error = done ? ERROR_SUCCESS : GetLastError();
        }
        std::lock_guard<std::mutex> hold(lock_);
        if (stopping_) return false;
        if (done || error == ERROR_PIPE_CONNECTED) {
            connected_ = true;
            changed_.notify_all();
            return true;
        }
        if (error != ERROR_OPERATION_ABORTED) return false;
        clearWakeLocked();  // a drop request that came too late: wait on
    }
}

void PendantServer::serveReceiver() {
    std::vector<BYTE> record;
    for (;;) {
        pendant::ReadOutcome outcome =
            pendant::readMessage(pipe_, wake_, protocol::kMaxMessageSize, record);
        if (outcome == pendant::ReadOutcome::Stopped || outcome == pendant::ReadOutcome::Closed) return;
        protocol::Message message;
        if (outcome != pendant::ReadOutcome::Message ||
            !protocol::decode(record.data(), static_cast<DWORD>(record.size()), message))
            continue;  // not a record a receiver sends: ignored
        if (message.tag == protocol::kFeatureWritten && onFeatureReport_)
            onFeatureReport_(message.report);
        else if (message.tag == protocol::kFeatureRequest)
            answerStatusRead(message.sequence, message.reportId);
    }
}

void PendantServer::answerStatusRead(BYTE sequence, BYTE reportId) {
    Report answer;
    {
        std::lock_guard<std::mutex> hold(lock_);
        ++statusReads_;
        answer = statusReport(reportId, status_);
    }
    pendant::writeMessage(pipe_, protocol::encodeFeatureAnswer(sequence, answer));
}

}  // namespace standin
