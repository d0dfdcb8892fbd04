// A child of the virtual receiver bus as a HID device: its descriptors,
// attributes and strings, input reports from the control channel, and the
// feature reports it is sent and answers.
#include "bus_device.h"

#define REPORT_PAYLOAD (RECEIVER_REPORT_LENGTH - 1)

// A vendor collection with an 8-byte input report and/or an 8-byte feature
// report (report id and 7 data bytes each).
static ULONG buildReportDescriptor(const BusDeviceDescription* d, UCHAR* out) {
    static const UCHAR head[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    static const UCHAR item[] = {0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                 0x75, 0x08, 0x95, REPORT_PAYLOAD};
    ULONG n = 0;
    for (ULONG i = 0; i < sizeof(head); ++i) out[n++] = head[i];
    for (int part = 0; part < 2; ++part) {
        const UCHAR id = part == 0 ? d->inputReportId : d->featureReportId;
        if (!id) continue;
        out[n++] = 0x85;
        out[n++] = id;
        for (ULONG i = 0; i < sizeof(item); ++i) out[n++] = item[i];
        out[n++] = part == 0 ? 0x81 : 0xB1;  // Input or Feature (Data, Var, Abs)
        out[n++] = 0x02;
    }
    out[n++] = 0xC0;
    return n;
}

// Wine's HID class driver asks for manufacturer, product and serial number
// as ids 1, 2 and 3, Windows' as 14, 15 and 16.
static const WCHAR* stringFor(ULONG id) {
    switch (id & 0xFFFF) {
    case 1: case 14: return L"wheelpad test bench";
    case 2: case 15: return L"virtual HID device";
    case 3: case 16: return L"0001";
    default: return NULL;
    }
}

IRP* takePendingRead(ChildDevice* child) {
    IRP* irp = child->pendingRead;
    child->pendingRead = NULL;
    // NULL: the cancel routine already runs and completes it.
    if (irp && !IoSetCancelRoutine(irp, NULL)) irp = NULL;
    return irp;
}

void completeRead(IRP* irp, const UCHAR* report, NTSTATUS status) {
    const ULONG room = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
    if (report && room < RECEIVER_REPORT_LENGTH) {
        report = NULL;
        status = STATUS_BUFFER_TOO_SMALL;
    }
    if (report) RtlCopyMemory(irp->UserBuffer, report, RECEIVER_REPORT_LENGTH);
    irp->IoStatus.Status = report ? STATUS_SUCCESS : status;
    irp->IoStatus.Information = report ? RECEIVER_REPORT_LENGTH : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
}

static void NTAPI cancelRead(DEVICE_OBJECT* device, IRP* irp) {
    IoReleaseCancelSpinLock(irp->CancelIrql);
    ChildDevice* child = &((DeviceExtension*)device->DeviceExtension)->child;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    if (child->pendingRead == irp) child->pendingRead = NULL;
    KeReleaseSpinLock(&bus.lock, irql);
    completeRead(irp, NULL, STATUS_CANCELLED);
}

// A read waits for a report from the control channel; on a device without
// input reports it waits until the device goes, as on a real one (the HID
// class driver reads every device, and a failed read it asks again at once).
static NTSTATUS readReport(ChildDevice* child, IRP* irp) {
    UCHAR report[RECEIVER_REPORT_LENGTH];
    NTSTATUS status = STATUS_PENDING;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    if (!child->present) {
        status = STATUS_DEVICE_NOT_CONNECTED;
    } else if (child->queuedCount) {
        RtlCopyMemory(report, child->queued[0], sizeof(report));
        --child->queuedCount;
        RtlMoveMemory(child->queued[0], child->queued[1], child->queuedCount * sizeof(report));
        status = STATUS_SUCCESS;
    } else if (child->pendingRead) {
        status = STATUS_DEVICE_BUSY;
    } else {
        IoSetCancelRoutine(irp, cancelRead);
        if (irp->Cancel && IoSetCancelRoutine(irp, NULL)) {
            status = STATUS_CANCELLED;
        } else {
            IoMarkIrpPending(irp);
            child->pendingRead = irp;
        }
    }
    KeReleaseSpinLock(&bus.lock, irql);
    if (status == STATUS_PENDING) return status;
    completeRead(irp, status == STATUS_SUCCESS ? report : NULL, status);
    return status;
}

static HID_XFER_PACKET* packetOf(IRP* irp, IO_STACK_LOCATION* stack) {
    if (irp->UserBuffer) return irp->UserBuffer;
    return stack->Parameters.DeviceIoControl.Type3InputBuffer;
}

static NTSTATUS featureReport(ChildDevice* child, IRP* irp, IO_STACK_LOCATION* stack, BOOLEAN set) {
    HID_XFER_PACKET* packet = packetOf(irp, stack);
    if (!packet || !packet->reportBuffer || !child->description.featureReportId ||
        packet->reportId != child->description.featureReportId ||
        packet->reportBufferLen != RECEIVER_REPORT_LENGTH)
        return STATUS_INVALID_PARAMETER;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    if (set && bus.featureCount < KEPT_FEATURE_RECORDS) {
        BusFeatureRecord* record = &bus.features[bus.featureCount++];
        record->slot = (UCHAR)child->description.slot;
        RtlCopyMemory(record->report, packet->reportBuffer, RECEIVER_REPORT_LENGTH);
    } else if (!set) {
        RtlCopyMemory(packet->reportBuffer, bus.featureAnswer, RECEIVER_REPORT_LENGTH);
        packet->reportBuffer[0] = packet->reportId;
    }
    KeReleaseSpinLock(&bus.lock, irql);
    irp->IoStatus.Information = RECEIVER_REPORT_LENGTH;
    return STATUS_SUCCESS;
}

static NTSTATUS copyOut(IRP* irp, ULONG room, const void* data, ULONG length) {
    if (room < length) return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(irp->UserBuffer, data, length);
    irp->IoStatus.Information = length;
    return STATUS_SUCCESS;
}

NTSTATUS childHidRequest(DEVICE_OBJECT* device, IRP* irp) {
    ChildDevice* child = &((DeviceExtension*)device->DeviceExtension)->child;
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR descriptor[64];
    const ULONG descriptorLength = buildReportDescriptor(&child->description, descriptor);
    NTSTATUS status;
    irp->IoStatus.Information = 0;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_HID_GET_DEVICE_DESCRIPTOR: {
        HID_DESCRIPTOR hid = {sizeof(HID_DESCRIPTOR), 0x21, 0x0100, 0, 1, {{0x22, (USHORT)descriptorLength}}};
        status = copyOut(irp, room, &hid, sizeof(hid));
        break;
    }
    case IOCTL_HID_GET_REPORT_DESCRIPTOR:
        status = copyOut(irp, room, descriptor, descriptorLength);
        break;
    case IOCTL_HID_GET_DEVICE_ATTRIBUTES: {
        HID_DEVICE_ATTRIBUTES attributes = {0};
        attributes.Size = sizeof(attributes);
        attributes.VendorID = child->description.vendorId;
        attributes.ProductID = child->description.productId;
        attributes.VersionNumber = 0x0100;
        status = copyOut(irp, room, &attributes, sizeof(attributes));
        break;
    }
    case IOCTL_HID_GET_STRING: {
        const WCHAR* text = stringFor((ULONG)(ULONG_PTR)stack->Parameters.DeviceIoControl.Type3InputBuffer);
        ULONG length = 0;
        while (text && text[length]) ++length;
        status = text ? copyOut(irp, room, text, (length + 1) * sizeof(WCHAR)) : STATUS_NOT_SUPPORTED;
        break;
    }
    case IOCTL_HID_READ_REPORT:
        return readReport(child, irp);
    case IOCTL_HID_SET_FEATURE:
    case IOCTL_HID_GET_FEATURE:
        status = featureReport(child, irp, stack,
                               stack->Parameters.DeviceIoControl.IoControlCode == IOCTL_HID_SET_FEATURE);
        break;
    case IOCTL_HID_ACTIVATE_DEVICE:
    case IOCTL_HID_DEACTIVATE_DEVICE:
        status = STATUS_SUCCESS;
        break;
    default:
        status = STATUS_NOT_SUPPORTED;
        break;
    }
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}
