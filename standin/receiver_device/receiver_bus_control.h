#pragma once
// User mode's end of the virtual receiver bus: plug and unplug HID devices,
// hand the receiver input reports, collect the feature reports it was sent
// and set its answer to feature reads.
#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

#include "standin/receiver_device/control_codes.h"

namespace receiver_bus {

using Report = std::array<BYTE, RECEIVER_REPORT_LENGTH>;

struct FeatureRecord {
    BYTE slot;
    Report report;
};

// The pendant's receiver: vendor 0x10CE, product 0xEB99, an input interface
// (8-byte input reports, id 4) and a feature interface (8-byte feature
// reports, id 6).
constexpr ULONG kReceiverInputSlot = 0;
constexpr ULONG kReceiverFeatureSlot = 1;
// Other HID devices: one of another vendor with 8-byte input and feature
// reports, and a crowd of small ones whose vendor ids sort before the
// receiver's, so that their interfaces come first.
constexpr ULONG kLookalikeSlot = 2;
constexpr ULONG kFirstCrowdSlot = 3;
constexpr ULONG kMaxCrowd = RECEIVER_BUS_SLOTS - kFirstCrowdSlot;

class Control {
public:
    Control() = default;
    ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Opens the bus's control device, waiting up to `waitMs` for the bus to
    // come up (its drivers load when the first program of a Wine prefix
    // starts); false where they are not installed or cannot be loaded.
    bool open(DWORD waitMs);
    bool available() const { return handle_ != INVALID_HANDLE_VALUE; }

    // Both interfaces of the receiver. As a hand would, plugging in waits
    // until the HID class driver presents both interfaces, pulling out until
    // they have gone (up to 30 s: the first time, their drivers are
    // installed); false when they did not. (Wine's HID class driver does not
    // survive a device pulled out while it is still starting it.)
    bool plugReceiver();
    bool unplugReceiver();
    // The lookalike and `count` crowd devices (up to kMaxCrowd); plugging
    // them in waits until all their interfaces are present.
    bool plugOthers(ULONG count);
    bool unplugOthers(ULONG count);

    bool plug(const BusDeviceDescription& device);
    bool unplug(ULONG slot);
    // Waits up to 2 s until the slot is in `state` (RECEIVER_SLOT_...).
    bool waitForSlot(ULONG slot, ULONG state);
    // Waits until `count` HID interfaces of the receiver are present.
    static bool waitForReceiverInterfaces(int count);
    bool inject(const Report& report);
    // Feature reports written to any device since the last call, in order.
    std::vector<FeatureRecord> takeFeatures();
    bool setFeatureAnswer(const Report& report);

private:
    bool request(DWORD code, const void* in, DWORD inLength, void* out = nullptr,
                 DWORD outLength = 0, DWORD* returned = nullptr);
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace receiver_bus
