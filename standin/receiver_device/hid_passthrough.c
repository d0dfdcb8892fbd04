// The HID minidriver of the virtual receiver's devices: it registers with the
// HID class driver and hands every request for its devices down to the bus's
// child device, which answers it.
//
// The HID class driver creates its own devices (one per collection) with this
// driver's object and leaves their power requests to this driver: only the
// devices this driver added have a lower device to pass to; the others'
// requests are completed here.
#include "hid_port.h"

#define MAX_DEVICES 64

static KSPIN_LOCK lock;
static DEVICE_OBJECT* added[MAX_DEVICES];

static BOOLEAN forget(DEVICE_OBJECT* device, BOOLEAN remove) {
    BOOLEAN found = FALSE;
    KIRQL irql;
    KeAcquireSpinLock(&lock, &irql);
    for (int i = 0; i < MAX_DEVICES && !found; ++i) {
        if (added[i] != device) continue;
        found = TRUE;
        if (remove) added[i] = NULL;
    }
    KeReleaseSpinLock(&lock, irql);
    return found;
}

static NTSTATUS NTAPI passDown(DEVICE_OBJECT* device, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    const BOOLEAN removing = stack->MajorFunction == IRP_MJ_PNP && stack->MinorFunction == IRP_MN_REMOVE_DEVICE;
    if (!forget(device, removing)) {
        NTSTATUS status = stack->MajorFunction == IRP_MJ_POWER ? STATUS_SUCCESS : irp->IoStatus.Status;
        irp->IoStatus.Status = status;
        IoCompleteRequest(irp, IO_NO_INCREMENT);
        return status;
    }
    HID_DEVICE_EXTENSION* extension = device->DeviceExtension;
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(extension->NextDeviceObject, irp);
}

static NTSTATUS NTAPI addDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* device) {
    (void)driver;
    NTSTATUS status = STATUS_INSUFFICIENT_RESOURCES;
    KIRQL irql;
    KeAcquireSpinLock(&lock, &irql);
    for (int i = 0; i < MAX_DEVICES && status != STATUS_SUCCESS; ++i) {
        if (added[i]) continue;
        added[i] = device;
        status = STATUS_SUCCESS;
    }
    KeReleaseSpinLock(&lock, irql);
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return status;
}

static void NTAPI unload(DRIVER_OBJECT* driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
    KeInitializeSpinLock(&lock);
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = passDown;
    driver->MajorFunction[IRP_MJ_PNP] = passDown;
    driver->MajorFunction[IRP_MJ_POWER] = passDown;
    driver->DriverExtension->AddDevice = addDevice;
    driver->DriverUnload = unload;

    HID_MINIDRIVER_REGISTRATION registration = {0};
    registration.Revision = HID_REVISION;
    registration.DriverObject = driver;
    registration.RegistryPath = registryPath;
    registration.DeviceExtensionSize = sizeof(ULONG);
    registration.DevicesArePolled = FALSE;
    return HidRegisterMinidriver(&registration);
}
