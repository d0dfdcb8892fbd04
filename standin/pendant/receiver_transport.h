#pragma once
// How the stand-in pendant reaches wheelpad: through the virtual receiver's
// pipe (PendantServer) or through the virtual receiver device in the HID
// stack (DeviceTransport). Both carry the same reports.
#include <windows.h>

#include <functional>
#include <string>

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

class ReceiverTransport {
public:
    // Called on the transport's thread with every feature report written.
    using FeatureSink = std::function<void(const Report&)>;

    virtual ~ReceiverTransport() = default;

    // Starts serving; false when it cannot (the reason is in `describe`).
    virtual bool start() = 0;
    // What it serves, for the pendant's log.
    virtual std::string describe() const = 0;

    virtual void setStatus(const PendantStatus& status) = 0;
    // Sends one input report; false while no receiver is connected.
    virtual bool sendInputReport(const Report& report) = 0;
    // True once wheelpad has the receiver open.
    virtual bool waitForReceiver(DWORD timeoutMs) = 0;

    // The receiver pulled out and plugged in again; false when it did not go
    // or come.
    virtual bool unplug() = 0;
    virtual bool plug() = 0;
};

}  // namespace standin
