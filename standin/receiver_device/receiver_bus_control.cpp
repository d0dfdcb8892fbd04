#include "standin/receiver_device/receiver_bus_control.h"

namespace receiver_bus {
namespace {

constexpr USHORT kReceiverVendor = 0x10CE;
constexpr USHORT kReceiverProduct = 0xEB99;
constexpr BYTE kInputReportId = 4;
constexpr BYTE kFeatureReportId = 6;
constexpr USHORT kLookalikeVendor = 0x1A86;
constexpr USHORT kCrowdVendor = 0x046D;

BusDeviceDescription device(ULONG slot, USHORT vendor, USHORT product, BYTE interfaceNumber,
                            BYTE inputId, BYTE featureId) {
    BusDeviceDescription description = {};
    description.slot = slot;
    description.vendorId = vendor;
    description.productId = product;
    description.interfaceNumber = interfaceNumber;
    description.inputReportId = inputId;
    description.featureReportId = featureId;
    return description;
}

}  // namespace

Control::Control()
    : handle_(CreateFileA(RECEIVER_BUS_USER_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, 0, nullptr)) {}

Control::~Control() {
    if (available()) CloseHandle(handle_);
}

bool Control::request(DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength,
                      DWORD* returned) {
    DWORD ignored = 0;
    return available() && DeviceIoControl(handle_, code, const_cast<void*>(in), inLength, out,
                                          outLength, returned ? returned : &ignored, nullptr);
}

bool Control::plug(const BusDeviceDescription& description) {
    // A slot is free again once the device unplugged from it has been removed
    // (a few tens of milliseconds).
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (request(IOCTL_RECEIVER_BUS_PLUG, &description, sizeof(description))) return true;
        if (GetLastError() != ERROR_BUSY) return false;
        Sleep(20);
    }
    return false;
}

bool Control::unplug(ULONG slot) {
    return request(IOCTL_RECEIVER_BUS_UNPLUG, &slot, sizeof(slot));
}

bool Control::plugReceiver() {
    return plug(device(kReceiverInputSlot, kReceiverVendor, kReceiverProduct, 0, kInputReportId, 0)) &&
           plug(device(kReceiverFeatureSlot, kReceiverVendor, kReceiverProduct, 1, 0, kFeatureReportId));
}

bool Control::unplugReceiver() {
    const bool input = unplug(kReceiverInputSlot);
    const bool feature = unplug(kReceiverFeatureSlot);
    return input && feature;
}

bool Control::plugOthers(ULONG count) {
    if (count > kMaxCrowd) return false;
    bool plugged = plug(device(kLookalikeSlot, kLookalikeVendor, kReceiverProduct, 0, kInputReportId,
                               kFeatureReportId));
    for (ULONG i = 0; i < count; ++i)
        plugged = plug(device(kFirstCrowdSlot + i, kCrowdVendor, static_cast<USHORT>(0xC000 + i), 0, 1, 0)) &&
                  plugged;
    return plugged;
}

bool Control::unplugOthers(ULONG count) {
    bool unplugged = unplug(kLookalikeSlot);
    for (ULONG i = 0; i < count && i < kMaxCrowd; ++i) unplugged = unplug(kFirstCrowdSlot + i) && unplugged;
    return unplugged;
}

bool Control::inject(const Report& report) {
    BusInputReport input = {};
    input.slot = kReceiverInputSlot;
    std::copy(report.begin(), report.end(), input.report);
    return request(IOCTL_RECEIVER_BUS_INJECT, &input, sizeof(input));
}

std::vector<FeatureRecord> Control::takeFeatures() {
    std::vector<FeatureRecord> records;
    BusFeatureRecord buffer[64];
    DWORD returned = 0;
    while (request(IOCTL_RECEIVER_BUS_TAKE_FEATURES, nullptr, 0, buffer, sizeof(buffer), &returned) &&
           returned > 0) {
        for (DWORD i = 0; i < returned / sizeof(BusFeatureRecord); ++i) {
            FeatureRecord record;
            record.slot = buffer[i].slot;
            std::copy(buffer[i].report, buffer[i].report + RECEIVER_REPORT_LENGTH, record.report.begin());
            records.push_back(record);
        }
    }
    return records;
}

bool Control::setFeatureAnswer(const Report& report) {
    return request(IOCTL_RECEIVER_BUS_SET_FEATURE_ANSWER, report.data(), static_cast<DWORD>(report.size()));
}

}  // namespace receiver_bus
