#pragma once
// The stand-in pendant's radio side: serves the receiver pipe to one virtual
// receiver at a time, sends it input reports, hands on the feature reports
// the driver writes and answers the driver's status reads.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "standin/pendant/receiver_transport.h"

namespace standin {

class PendantServer : public ReceiverTransport {
public:
    PendantServer(std::string pipeName, FeatureSink onFeatureReport);
    ~PendantServer() override;
    PendantServer(const PendantServer&) = delete;
    PendantServer& operator=(const PendantServer&) = delete;

    // Creates the pipe and starts serving it; false when the pipe cannot be
    // created (another pendant serves the name).
    bool start() override;
    std::string describe() const override { return pipeName_; }

    void setStatus(const PendantStatus& status) override;
    int statusReads() const;

    // Sends one input report; false while no receiver is connected.
    bool sendInputReport(const Report& report) override;

    bool waitForReceiver(DWORD timeoutMs) override;
    // Ends the receiver's connection as an unplugging would; the pipe then
    // takes the next connection.
    void dropReceiver();
    bool unplug() override {
        dropReceiver();
        return true;
    }
    // The pipe takes the next connection by itself.
    bool plug() override { return true; }

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
