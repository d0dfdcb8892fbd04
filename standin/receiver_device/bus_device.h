#pragma once
// The virtual receiver bus: its devices and the state they share.
#include "hid_port.h"
#include "control_codes.h"

#define QUEUED_INPUT_REPORTS 32
#define KEPT_FEATURE_RECORDS 1024

typedef enum DeviceKind { BUS_FUNCTION, BUS_CONTROL, BUS_CHILD } DeviceKind;

typedef struct ChildDevice {
    BusDeviceDescription description;
    BOOLEAN present;   // cleared by an unplug; the device object lives until removed
    BOOLEAN reported;  // the plug and play manager has been told of it
    BOOLEAN started;
    IRP* pendingRead;
    UCHAR queued[QUEUED_INPUT_REPORTS][RECEIVER_REPORT_LENGTH];
    ULONG queuedCount;
} ChildDevice;

typedef struct DeviceExtension {
    DeviceKind kind;
    ChildDevice child;  // BUS_CHILD only
} DeviceExtension;

typedef struct Bus {
    KSPIN_LOCK lock;  // guards everything below and every child's state
    DEVICE_OBJECT* physical;
    DEVICE_OBJECT* lower;
    DEVICE_OBJECT* control;
    DEVICE_OBJECT* slots[RECEIVER_BUS_SLOTS];  // the present children
    // Children unplugged and not yet removed: their slot stays taken, as a
    // device path is not used again before the last one under it has gone.
    DEVICE_OBJECT* going[RECEIVER_BUS_SLOTS];
    BusFeatureRecord features[KEPT_FEATURE_RECORDS];
    ULONG featureCount;
    UCHAR featureAnswer[RECEIVER_REPORT_LENGTH];
} Bus;

extern Bus bus;

// The child's answers to the HID class driver's requests (internal IOCTLs).
NTSTATUS childHidRequest(DEVICE_OBJECT* device, IRP* irp);
// Under the lock: takes the child's pending read, or NULL; the caller completes it.
IRP* takePendingRead(ChildDevice* child);
// Completes a read with `report`, or with `status` when report is NULL.
void completeRead(IRP* irp, const UCHAR* report, NTSTATUS status);
