#pragma once
// The control channel of the virtual receiver bus: what user mode asks the
// bus driver to do (plug and unplug HID devices, inject input reports,
// collect the feature reports written, set the answer to feature reads).
// Shared by the driver (C) and the programs that drive it (C++); every
// record has a fixed layout without pointers, so a 32-bit program can talk
// to a 64-bit driver.
#ifdef __cplusplus
#include <windows.h>
#include <winioctl.h>
#endif

#define RECEIVER_BUS_DEVICE_NAME L"\\Device\\WheelpadReceiverBus"
#define RECEIVER_BUS_LINK_NAME L"\\DosDevices\\WheelpadReceiverBus"
#define RECEIVER_BUS_USER_PATH "\\\\.\\WheelpadReceiverBus"

#define RECEIVER_BUS_SLOTS 48
#define RECEIVER_REPORT_LENGTH 8

#define RECEIVER_BUS_CODE(function) \
    CTL_CODE(FILE_DEVICE_UNKNOWN, 0x900 + (function), METHOD_BUFFERED, FILE_ANY_ACCESS)
// In: BusDeviceDescription. Fails with STATUS_DEVICE_BUSY while the slot's
// last device has not gone yet.
#define IOCTL_RECEIVER_BUS_PLUG RECEIVER_BUS_CODE(0)
// In: ULONG slot.
#define IOCTL_RECEIVER_BUS_UNPLUG RECEIVER_BUS_CODE(1)
// In: BusInputReport.
#define IOCTL_RECEIVER_BUS_INJECT RECEIVER_BUS_CODE(2)
// Out: as many BusFeatureRecord as fit, oldest first; they are taken.
#define IOCTL_RECEIVER_BUS_TAKE_FEATURES RECEIVER_BUS_CODE(3)
// In: the 8-byte report that answers every feature read.
#define IOCTL_RECEIVER_BUS_SET_FEATURE_ANSWER RECEIVER_BUS_CODE(4)
// In: ULONG slot. Out: ULONG, one of the slot states below.
#define IOCTL_RECEIVER_BUS_SLOT_STATE RECEIVER_BUS_CODE(5)

#define RECEIVER_SLOT_EMPTY 0
#define RECEIVER_SLOT_PLUGGED 1  // not yet started by its drivers
#define RECEIVER_SLOT_STARTED 2
#define RECEIVER_SLOT_GOING 3    // unplugged, not yet removed

#pragma pack(push, 1)
typedef struct BusDeviceDescription {
    unsigned long slot;
    unsigned short vendorId;
    unsigned short productId;
    unsigned char interfaceNumber;
    // Report ids of the device's 8-byte input and feature reports; 0 = none.
    unsigned char inputReportId;
    unsigned char featureReportId;
} BusDeviceDescription;

typedef struct BusInputReport {
    unsigned long slot;
    unsigned char report[RECEIVER_REPORT_LENGTH];
} BusInputReport;

typedef struct BusFeatureRecord {
    unsigned char slot;
    unsigned char report[RECEIVER_REPORT_LENGTH];
} BusFeatureRecord;
#pragma pack(pop)
