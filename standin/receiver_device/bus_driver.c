// The virtual receiver bus: a driver on a root-enumerated device that makes
// HID devices appear and go on request from user mode (its control device),
// as a USB hub does when a device is plugged in or pulled out. Each child is
// driven by the HID pass-through minidriver above it and answers its HID
// requests itself (child_hid.c).
#include "bus_device.h"

Bus bus;

static NTSTATUS complete(IRP* irp, NTSTATUS status) {
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static DeviceExtension* extensionOf(DEVICE_OBJECT* device) { return device->DeviceExtension; }

// ---- Ids of a child, as multi-strings in pool memory (the PnP manager frees them)

static WCHAR* appendText(WCHAR* out, const WCHAR* text) {
    while (*text) *out++ = *text++;
    return out;
}

static WCHAR* appendHex(WCHAR* out, ULONG value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        *out++ = L"0123456789ABCDEF"[(value >> shift) & 0xF];
    return out;
}

static WCHAR* childId(const BusDeviceDescription* d, BUS_QUERY_ID_TYPE type) {
    WCHAR* id = ExAllocatePool(PagedPool, 128 * sizeof(WCHAR));
    if (!id) return NULL;
    WCHAR* end = id;
    switch (type) {
    case BusQueryDeviceID:
    case BusQueryHardwareIDs:
        end = appendText(end, L"WHEELPAD\\VID_");
        end = appendHex(end, d->vendorId, 4);
        end = appendText(end, L"&PID_");
        end = appendHex(end, d->productId, 4);
        end = appendText(end, L"&MI_");
        end = appendHex(end, d->interfaceNumber, 2);
        break;
    case BusQueryCompatibleIDs:
        end = appendText(end, L"WHEELPAD\\HID_DEVICE");
        break;
    case BusQueryInstanceID:
        end = appendHex(end, d->slot, 2);
        break;
    default:
        ExFreePool(id);
        return NULL;
    }
    *end++ = 0;
    *end = 0;  // the end of a multi-string
    return id;
}

// ---- The children's plug and play

static NTSTATUS childPnp(DEVICE_OBJECT* device, IRP* irp) {
    ChildDevice* child = &extensionOf(device)->child;
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status = irp->IoStatus.Status;
    switch (stack->MinorFunction) {
    case IRP_MN_QUERY_ID: {
        WCHAR* id = childId(&child->description, stack->Parameters.QueryId.IdType);
        if (id) {
            irp->IoStatus.Information = (ULONG_PTR)id;
            status = STATUS_SUCCESS;
        }
        break;
    }
    case IRP_MN_QUERY_CAPABILITIES:
        stack->Parameters.DeviceCapabilities.Capabilities->Removable = TRUE;
        stack->Parameters.DeviceCapabilities.Capabilities->SurpriseRemovalOK = TRUE;
        status = STATUS_SUCCESS;
        break;
    case IRP_MN_QUERY_DEVICE_RELATIONS:
        if (stack->Parameters.QueryDeviceRelations.Type == TargetDeviceRelation) {
            DEVICE_RELATIONS* relations = ExAllocatePool(PagedPool, sizeof(DEVICE_RELATIONS));
            if (!relations) {
                status = STATUS_INSUFFICIENT_RESOURCES;
                break;
            }
            ObReferenceObject(device);
            relations->Count = 1;
            relations->Objects[0] = device;
            irp->IoStatus.Information = (ULONG_PTR)relations;
            status = STATUS_SUCCESS;
        }
        break;
    case IRP_MN_START_DEVICE:
        child->started = TRUE;
        status = STATUS_SUCCESS;
        break;
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE:
    case IRP_MN_SURPRISE_REMOVAL:
        status = STATUS_SUCCESS;
        break;
    case IRP_MN_REMOVE_DEVICE: {
        KIRQL irql;
        KeAcquireSpinLock(&bus.lock, &irql);
        IRP* read = takePendingRead(child);
        const BOOLEAN gone = !child->present;
        if (gone && bus.going[child->description.slot] == device) bus.going[child->description.slot] = NULL;
        KeReleaseSpinLock(&bus.lock, irql);
        if (read) completeRead(read, NULL, STATUS_DEVICE_NOT_CONNECTED);
        complete(irp, STATUS_SUCCESS);
        // A child still plugged in stays (the bus reports it again).
        if (gone) IoDeleteDevice(device);
        return STATUS_SUCCESS;
    }
    default:
        break;
    }
    return complete(irp, status);
}

// ---- The bus's own plug and play

static NTSTATUS busRelations(IRP* irp) {
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    ULONG count = 0;
    for (ULONG slot = 0; slot < RECEIVER_BUS_SLOTS; ++slot) count += bus.slots[slot] != NULL;
    DEVICE_RELATIONS* relations =
        ExAllocatePool(NonPagedPool, sizeof(DEVICE_RELATIONS) + count * sizeof(DEVICE_OBJECT*));
    if (relations) {
        relations->Count = 0;
        for (ULONG slot = 0; slot < RECEIVER_BUS_SLOTS; ++slot) {
            if (!bus.slots[slot]) continue;
            ObReferenceObject(bus.slots[slot]);
            extensionOf(bus.slots[slot])->child.reported = TRUE;
            relations->Objects[relations->Count++] = bus.slots[slot];
        }
    }
    KeReleaseSpinLock(&bus.lock, irql);
    if (!relations) return STATUS_INSUFFICIENT_RESOURCES;
    irp->IoStatus.Information = (ULONG_PTR)relations;
    return STATUS_SUCCESS;
}

static NTSTATUS busPnp(DEVICE_OBJECT* device, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->MinorFunction == IRP_MN_QUERY_DEVICE_RELATIONS &&
        stack->Parameters.QueryDeviceRelations.Type == BusRelations) {
        const NTSTATUS status = busRelations(irp);
        if (status != STATUS_SUCCESS) return complete(irp, status);
        irp->IoStatus.Status = status;
    } else if (stack->MinorFunction == IRP_MN_START_DEVICE ||
               stack->MinorFunction == IRP_MN_SURPRISE_REMOVAL) {
        irp->IoStatus.Status = STATUS_SUCCESS;
    }
    if (stack->MinorFunction != IRP_MN_REMOVE_DEVICE) {
        IoSkipCurrentIrpStackLocation(irp);
        return IoCallDriver(bus.lower, irp);
    }
    irp->IoStatus.Status = STATUS_SUCCESS;
    IoSkipCurrentIrpStackLocation(irp);
    const NTSTATUS status = IoCallDriver(bus.lower, irp);
    UNICODE_STRING link;
    RtlInitUnicodeString(&link, RECEIVER_BUS_LINK_NAME);
    IoDeleteSymbolicLink(&link);
    IoDeleteDevice(bus.control);
    IoDetachDevice(bus.lower);
    IoDeleteDevice(device);
    bus.control = bus.lower = bus.physical = NULL;
    return status;
}

static NTSTATUS NTAPI dispatchPnp(DEVICE_OBJECT* device, IRP* irp) {
    switch (extensionOf(device)->kind) {
    case BUS_CHILD: return childPnp(device, irp);
    case BUS_FUNCTION: return busPnp(device, irp);
    default: return complete(irp, STATUS_NOT_SUPPORTED);
    }
}

// ---- The control channel

static NTSTATUS plug(const BusDeviceDescription* description) {
    const ULONG slot = description->slot;
    if (slot >= RECEIVER_BUS_SLOTS || !bus.physical) return STATUS_INVALID_PARAMETER;
    DEVICE_OBJECT* device;
    NTSTATUS status = IoCreateDevice(bus.control->DriverObject, sizeof(DeviceExtension), NULL,
                                     FILE_DEVICE_BUS_EXTENDER, FILE_AUTOGENERATED_DEVICE_NAME,
                                     FALSE, &device);
    if (status != STATUS_SUCCESS) return status;
    DeviceExtension* extension = extensionOf(device);
    RtlZeroMemory(extension, sizeof(*extension));
    extension->kind = BUS_CHILD;
    extension->child.description = *description;
    extension->child.present = TRUE;
    device->Flags &= ~DO_DEVICE_INITIALIZING;

    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    const BOOLEAN taken = bus.slots[slot] != NULL || bus.going[slot] != NULL;
    if (!taken) bus.slots[slot] = device;
    KeReleaseSpinLock(&bus.lock, irql);
    if (taken) {
        IoDeleteDevice(device);
        return STATUS_DEVICE_BUSY;
    }
    IoInvalidateDeviceRelations(bus.physical, BusRelations);
    return STATUS_SUCCESS;
}

static NTSTATUS unplug(ULONG slot) {
    if (slot >= RECEIVER_BUS_SLOTS) return STATUS_INVALID_PARAMETER;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    DEVICE_OBJECT* device = bus.slots[slot];
    BOOLEAN reported = FALSE;
    IRP* read = NULL;
    if (device) {
        ChildDevice* child = &extensionOf(device)->child;
        child->present = FALSE;
        child->queuedCount = 0;
        read = takePendingRead(child);
        reported = child->reported;
        bus.slots[slot] = NULL;
        if (reported) bus.going[slot] = device;
    }
    KeReleaseSpinLock(&bus.lock, irql);
    if (!device) return STATUS_NO_SUCH_DEVICE;
    if (read) completeRead(read, NULL, STATUS_DEVICE_NOT_CONNECTED);
    if (reported)
        IoInvalidateDeviceRelations(bus.physical, BusRelations);
    else
        IoDeleteDevice(device);  // pulled out before anybody saw it
    return STATUS_SUCCESS;
}

static NTSTATUS inject(const BusInputReport* input) {
    if (input->slot >= RECEIVER_BUS_SLOTS) return STATUS_INVALID_PARAMETER;
    NTSTATUS status = STATUS_SUCCESS;
    IRP* read = NULL;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    DEVICE_OBJECT* device = bus.slots[input->slot];
    ChildDevice* child = device ? &extensionOf(device)->child : NULL;
    if (!child || !child->description.inputReportId) {
        status = STATUS_NO_SUCH_DEVICE;
    } else if (!(read = takePendingRead(child))) {
        if (child->queuedCount < QUEUED_INPUT_REPORTS)
            RtlCopyMemory(child->queued[child->queuedCount++], input->report, RECEIVER_REPORT_LENGTH);
        else
            status = STATUS_DEVICE_BUSY;
    }
    KeReleaseSpinLock(&bus.lock, irql);
    if (read) completeRead(read, input->report, STATUS_SUCCESS);
    return status;
}

static NTSTATUS takeFeatures(IRP* irp, ULONG room) {
    BusFeatureRecord* out = irp->AssociatedIrp.SystemBuffer;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    ULONG count = room / sizeof(BusFeatureRecord);
    if (count > bus.featureCount) count = bus.featureCount;
    RtlCopyMemory(out, bus.features, count * sizeof(BusFeatureRecord));
    bus.featureCount -= count;
    RtlMoveMemory(bus.features, bus.features + count, bus.featureCount * sizeof(BusFeatureRecord));
    KeReleaseSpinLock(&bus.lock, irql);
    irp->IoStatus.Information = count * sizeof(BusFeatureRecord);
    return STATUS_SUCCESS;
}

static NTSTATUS slotState(ULONG slot, IRP* irp, ULONG room) {
    if (slot >= RECEIVER_BUS_SLOTS || room < sizeof(ULONG)) return STATUS_INVALID_PARAMETER;
    KIRQL irql;
    KeAcquireSpinLock(&bus.lock, &irql);
    ULONG state = RECEIVER_SLOT_EMPTY;
    if (bus.slots[slot])
        state = extensionOf(bus.slots[slot])->child.started ? RECEIVER_SLOT_STARTED : RECEIVER_SLOT_PLUGGED;
    else if (bus.going[slot])
        state = RECEIVER_SLOT_GOING;
    KeReleaseSpinLock(&bus.lock, irql);
    *(ULONG*)irp->AssociatedIrp.SystemBuffer = state;
    irp->IoStatus.Information = sizeof(ULONG);
    return STATUS_SUCCESS;
}

static NTSTATUS controlRequest(IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const void* in = irp->AssociatedIrp.SystemBuffer;
    const ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    irp->IoStatus.Information = 0;
    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_RECEIVER_BUS_PLUG:
        return inLength == sizeof(BusDeviceDescription) ? plug(in) : STATUS_INVALID_PARAMETER;
    case IOCTL_RECEIVER_BUS_UNPLUG:
        return inLength == sizeof(ULONG) ? unplug(*(const ULONG*)in) : STATUS_INVALID_PARAMETER;
    case IOCTL_RECEIVER_BUS_INJECT:
        return inLength == sizeof(BusInputReport) ? inject(in) : STATUS_INVALID_PARAMETER;
    case IOCTL_RECEIVER_BUS_SLOT_STATE:
        return inLength == sizeof(ULONG)
                   ? slotState(*(const ULONG*)in, irp, stack->Parameters.DeviceIoControl.OutputBufferLength)
                   : STATUS_INVALID_PARAMETER;
    case IOCTL_RECEIVER_BUS_TAKE_FEATURES:
        return takeFeatures(irp, stack->Parameters.DeviceIoControl.OutputBufferLength);
    case IOCTL_RECEIVER_BUS_SET_FEATURE_ANSWER: {
        if (inLength != RECEIVER_REPORT_LENGTH) return STATUS_INVALID_PARAMETER;
        KIRQL irql;
        KeAcquireSpinLock(&bus.lock, &irql);
        RtlCopyMemory(bus.featureAnswer, in, RECEIVER_REPORT_LENGTH);
        KeReleaseSpinLock(&bus.lock, irql);
        return STATUS_SUCCESS;
    }
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS NTAPI dispatchControl(DEVICE_OBJECT* device, IRP* irp) {
    if (extensionOf(device)->kind != BUS_CONTROL) return complete(irp, STATUS_INVALID_DEVICE_REQUEST);
    return complete(irp, controlRequest(irp));
}

static NTSTATUS NTAPI dispatchInternalControl(DEVICE_OBJECT* device, IRP* irp) {
    if (extensionOf(device)->kind != BUS_CHILD) return complete(irp, STATUS_INVALID_DEVICE_REQUEST);
    return childHidRequest(device, irp);
}

static NTSTATUS NTAPI dispatchOpenClose(DEVICE_OBJECT* device, IRP* irp) {
    (void)device;
    irp->IoStatus.Information = 0;
    return complete(irp, STATUS_SUCCESS);
}

// ---- Start

static NTSTATUS NTAPI addDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* physical) {
    if (bus.physical) return STATUS_DEVICE_BUSY;  // one bus
    DEVICE_OBJECT* function;
    NTSTATUS status = IoCreateDevice(driver, sizeof(DeviceExtension), NULL, FILE_DEVICE_BUS_EXTENDER,
                                     0, FALSE, &function);
    if (status != STATUS_SUCCESS) return status;
    extensionOf(function)->kind = BUS_FUNCTION;

    UNICODE_STRING name, link;
    RtlInitUnicodeString(&name, RECEIVER_BUS_DEVICE_NAME);
    RtlInitUnicodeString(&link, RECEIVER_BUS_LINK_NAME);
    status = IoCreateDevice(driver, sizeof(DeviceExtension), &name, FILE_DEVICE_UNKNOWN, 0, FALSE,
                            &bus.control);
    if (status == STATUS_SUCCESS) {
        extensionOf(bus.control)->kind = BUS_CONTROL;
        status = IoCreateSymbolicLink(&link, &name);
        if (status != STATUS_SUCCESS) IoDeleteDevice(bus.control);
    }
    if (status != STATUS_SUCCESS) {
        IoDeleteDevice(function);
        return status;
    }
    bus.lower = IoAttachDeviceToDeviceStack(function, physical);
    bus.physical = physical;
    bus.control->Flags &= ~DO_DEVICE_INITIALIZING;
    function->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

static void NTAPI unload(DRIVER_OBJECT* driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
    (void)registryPath;
    KeInitializeSpinLock(&bus.lock);
    driver->MajorFunction[IRP_MJ_CREATE] = dispatchOpenClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = dispatchOpenClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = dispatchControl;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = dispatchInternalControl;
    driver->MajorFunction[IRP_MJ_PNP] = dispatchPnp;
    driver->DriverExtension->AddDevice = addDevice;
    driver->DriverUnload = unload;
    return STATUS_SUCCESS;
}
