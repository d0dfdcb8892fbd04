#pragma once
// The stand-in pendant on the virtual receiver device: the receiver is a HID
// device of the virtual receiver bus inside the HID stack, among other HID
// devices, and wheelpad finds and opens it as it would the real one.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "standin/pendant/receiver_transport.h"
#include "standin/receiver_device/receiver_bus_control.h"

namespace standin {

class DeviceTransport : public ReceiverTransport {
public:
    // `otherDevices` HID devices of other vendors are plugged in beside the
    // receiver, their interfaces listed before its own.
    DeviceTransport(ULONG otherDevices, FeatureSink onFeatureReport);
    ~DeviceTransport() override;

    // False where the bus's drivers are not installed or not loaded
    // (`busLoaded` false), or when the devices did not come.
    bool start() override;
    bool busLoaded() const { return control_.available(); }
    std::string describe() const override;

    void setStatus(const PendantStatus& status) override;
    bool sendInputReport(const Report& report) override;
    // The receiver counts as connected from the first feature report after
    // it was plugged in: wheelpad sends its start report when it opens it.
    bool waitForReceiver(DWORD timeoutMs) override;
    bool unplug() override;
    bool plug() override;

private:
    void collectFeatureReports();

    const ULONG otherDevices_;
    const FeatureSink onFeatureReport_;
    receiver_bus::Control control_;
    std::thread collector_;
    std::atomic<bool> stopping_{false};

    std::mutex lock_;
    std::condition_variable changed_;
    bool plugged_ = false;
    bool opened_ = false;
};

}  // namespace standin
