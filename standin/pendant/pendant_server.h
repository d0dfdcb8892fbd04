#pragma once
// The stand-in pendant's radio side: serves the receiver pipe to one virtual
// receiver at a time, sends it input reports, hands on the feature reports
// the driver writes and answers the driver's status reads.
#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "pendant/receiver_protocol.h"

namespace standin {

using pendant::receiver_protocol::Report;

// What the pendant answers to a status read: the radio channels and ids of
// the handwheel and the tool setter.
struct PendantStatus {
    BYTE handwheelChannel = 0;
    BYTE toolSetterChannel = 0;
    WORD handwheelId = 0;
    WORD toolSetterId = 0;
};

// The status read's answer: report id, handwheel channel, tool-setter
// channel, the ids' low bytes (handwheel, tool setter), their high bytes, 0.
Report statusReport(BYTE reportId, const PendantStatus& status);

class PendantServer {
public:
    // Called on the server's thread with every feature report written.
    using FeatureSink = std::function<void(const Report&)>;

    PendantServer(std::string pipeName, FeatureSink onFeatureReport);
    ~PendantServer();
    PendantServer(const PendantServer&) = delete;
    PendantServer& operator=(const PendantServer&) = delete;

    // Creates the pipe and starts serving it; false when the pipe cannot be
    // created (another pendant serves the name).
    bool start();

    void setStatus(const PendantStatus& status);
    int statusReads() const;

    // Sends one input report; false while no receiver is connected.
    bool sendInputReport(const Report& report);

    bool waitForReceiver(DWORD timeoutMs);
    // Ends the receiver's connection as an unplugging would; the pipe then
    // takes the next connection.
    void dropReceiver();

private:
    void run();
    bool acceptReceiver(HANDLE connected);
    void serveReceiver();
    void answerStatusRead(BYTE sequence, BYTE reportId);
    // Clears the wake-up unless the server is stopping. Called with lock_ held.
    void clearWakeLocked();

    const std::string pipeName_;
    const FeatureSink onFeatureReport_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE wake_;  // manual reset: stop or drop requested
    std::thread thread_;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool connected_ = false;
    bool stopping_ = false;
    PendantStatus status_;
    int statusReads_ = 0;
};

}  // namespace standin
