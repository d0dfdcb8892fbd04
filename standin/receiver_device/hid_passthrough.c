// The HID minidriver of the virtual receiver's devices: it registers with the
// HID class driver and hands every request down to the bus's child device,
// which answers it.
#include "hid_port.h"

static NTSTATUS NTAPI passDown(DEVICE_OBJECT* device, IRP* irp) {
    HID_DEVICE_EXTENSION* extension = device->DeviceExtension;
    IoSkipCurrentIrpStackLocation(irp);
    return IoCallDriver(extension->NextDeviceObject, irp);
}

static NTSTATUS NTAPI addDevice(DRIVER_OBJECT* driver, DEVICE_OBJECT* device) {
    (void)driver;
    device->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

static void NTAPI unload(DRIVER_OBJECT* driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* registryPath) {
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
