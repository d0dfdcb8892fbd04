#include "standin/receiver_device/receiver_bus_control.h"

#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

namespace receiver_bus {
namespace {

constexpr USHORT kReceiverVendor = 0x10CE;
constexpr USHORT kReceiverProduct = 0xEB99;
constexpr BYTE kInputReportId = 4;
constexpr BYTE kFeatureReportId = 6;
constexpr USHORT kLookalikeVendor = 0x1A86;
constexpr USHORT kCrowdVendor = 0x046D;
// The first time a device shows up in a Wine prefix its drivers are
// installed for it, which takes a while for many devices at once.
constexpr DWORD kDevicesWaitMs = 30000;

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

bool Control::open(DWORD waitMs) {
    const DWORD start = GetTickCount();
    while (!available()) {
        handle_ = CreateFileA(RECEIVER_BUS_USER_PATH, GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
        if (available() || GetTickCount() - start >= waitMs) break;
        Sleep(50);
    }
    return available();
}

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

bool Control::waitForSlot(ULONG slot, ULONG state) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        ULONG now = RECEIVER_SLOT_EMPTY;
        DWORD returned = 0;
        if (!request(IOCTL_RECEIVER_BUS_SLOT_STATE, &slot, sizeof(slot), &now, sizeof(now), &returned))
            return false;
        if (now == state) return true;
        Sleep(20);
    }
    return false;
}

// The present HID interfaces of `vendor` (and `product`, unless 0).
static int presentInterfaces(USHORT vendor, USHORT product) {
    GUID hidClass;
    HidD_GetHidGuid(&hidClass);
    HDEVINFO set = SetupDiGetClassDevsA(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) BYTE buffer[1024];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidClass, index, &data); ++index) {
        detail->cbSize = sizeof(*detail);
        if (!SetupDiGetDeviceInterfaceDetailA(set, &data, detail, sizeof(buffer), nullptr, nullptr)) continue;
        HANDLE handle = CreateFileA(detail->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) continue;
        HIDD_ATTRIBUTES attributes = {};
        attributes.Size = sizeof(attributes);
        if (HidD_GetAttributes(handle, &attributes) && attributes.VendorID == vendor &&
            (product == 0 || attributes.ProductID == product))
            ++count;
        CloseHandle(handle);
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}

// Waits up to `timeoutMs` until `count` interfaces of `vendor` (and `product`) are present.
static bool waitForInterfaces(USHORT vendor, USHORT product, int count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        if (presentInterfaces(vendor, product) == count) return true;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

bool Control::waitForReceiverInterfaces(int count) {
    return waitForInterfaces(kReceiverVendor, kReceiverProduct, count, kDevicesWaitMs);
}

bool Control::plugReceiver() {
    return plug(device(kReceiverInputSlot, kReceiverVendor, kReceiverProduct, 0, kInputReportId, 0)) &&
           plug(device(kReceiverFeatureSlot, kReceiverVendor, kReceiverProduct, 1, 0, kFeatureReportId)) &&
           waitForReceiverInterfaces(2);
}

bool Control::unplugReceiver() {
    const bool input = unplug(kReceiverInputSlot);
    const bool feature = unplug(kReceiverFeatureSlot);
    return input && feature && waitForReceiverInterfaces(0) && waitForSlot(kReceiverInputSlot, RECEIVER_SLOT_EMPTY) &&
           waitForSlot(kReceiverFeatureSlot, RECEIVER_SLOT_EMPTY);
}

bool Control::plugOthers(ULONG count) {
    if (count > kMaxCrowd) return false;
    bool plugged = plug(device(kLookalikeSlot, kLookalikeVendor, kReceiverProduct, 0, kInputReportId,
                               kFeatureReportId));
    for (ULONG i = 0; i < count; ++i)
        plugged = plug(device(kFirstCrowdSlot + i, kCrowdVendor, static_cast<USHORT>(0xC000 + i), 0, 1, 0)) &&
                  plugged;
    // They were there before the receiver, as a PC's own devices are.
    return plugged && waitForInterfaces(kLookalikeVendor, kReceiverProduct, 1, kDevicesWaitMs) &&
           waitForInterfaces(kCrowdVendor, 0, static_cast<int>(count), kDevicesWaitMs);
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
