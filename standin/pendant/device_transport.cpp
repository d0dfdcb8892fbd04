#include "standin/pendant/device_transport.h"

#include <chrono>
#include <string>

namespace standin {
namespace {

constexpr BYTE kFeatureReportId = 6;
// How often the feature reports the driver wrote are collected.
constexpr DWORD kCollectIntervalMs = 5;
// The bus comes up with the first program of the Wine prefix.
constexpr DWORD kBusWaitMs = 5000;

}  // namespace

DeviceTransport::DeviceTransport(ULONG otherDevices, FeatureSink onFeatureReport)
    : otherDevices_(otherDevices), onFeatureReport_(std::move(onFeatureReport)) {}

DeviceTransport::~DeviceTransport() {
    stopping_ = true;
    if (collector_.joinable()) collector_.join();
    if (control_.available()) {
        control_.unplugReceiver();
        control_.unplugOthers(otherDevices_);
    }
}

std::string DeviceTransport::describe() const {
    return "the virtual receiver device (with " + std::to_string(otherDevices_) + " other HID devices)";
}

bool DeviceTransport::start() {
    if (!control_.open(kBusWaitMs)) return false;
    control_.takeFeatures();  // left from an earlier pendant
    if (!control_.plugOthers(otherDevices_) || !plug()) return false;
    collector_ = std::thread([this] { collectFeatureReports(); });
    return true;
}

void DeviceTransport::setStatus(const PendantStatus& status) {
    control_.setFeatureAnswer(statusReport(kFeatureReportId, status));
}

bool DeviceTransport::sendInputReport(const Report& report) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!opened_) return false;
    }
    return control_.inject(report);
}

bool DeviceTransport::waitForReceiver(DWORD timeoutMs) {
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, std::chrono::milliseconds(timeoutMs), [this] { return opened_; });
}

bool DeviceTransport::unplug() {
    std::lock_guard<std::mutex> hold(lock_);
    plugged_ = opened_ = false;
    return control_.unplugReceiver();
}

bool DeviceTransport::plug() {
    std::lock_guard<std::mutex> hold(lock_);
    plugged_ = control_.plugReceiver();
    return plugged_;
}

void DeviceTransport::collectFeatureReports() {
    while (!stopping_) {
        for (const receiver_bus::FeatureRecord& record : control_.takeFeatures()) {
            if (record.slot != receiver_bus::kReceiverFeatureSlot) continue;
            {
                std::lock_guard<std::mutex> hold(lock_);
                opened_ = plugged_;
                changed_.notify_all();
            }
            if (onFeatureReport_) onFeatureReport_(record.report);
        }
        Sleep(kCollectIntervalMs);
    }
}

}  // namespace standin
