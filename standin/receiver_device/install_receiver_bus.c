// Installs the virtual receiver bus into the Wine prefix it runs in: a
// root-enumerated device with the bus's hardware id, and the drivers of the
// INF given (the bus driver on it, the HID pass-through for its children).
// Ends 0 once the bus's control device answers.
//
//   install_receiver_bus.exe C:\path\receiver_bus.inf
#include <windows.h>
#include <setupapi.h>
#include <newdev.h>
#include <stdio.h>

#include "control_codes.h"

static const char kHardwareId[] = "ROOT\\WHEELPAD_RECEIVER_BUS\0";

static BOOL busAnswers(void) {
    HANDLE control = CreateFileA(RECEIVER_BUS_USER_PATH, GENERIC_READ | GENERIC_WRITE, 0, NULL,
                                 OPEN_EXISTING, 0, NULL);
    if (control == INVALID_HANDLE_VALUE) return FALSE;
    CloseHandle(control);
    return TRUE;
}

static BOOL registerRootDevice(void) {
    GUID systemClass = {0x4D36E97D, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
    HDEVINFO set = SetupDiCreateDeviceInfoList(&systemClass, NULL);
    if (set == INVALID_HANDLE_VALUE) return FALSE;
    SP_DEVINFO_DATA device;
    ZeroMemory(&device, sizeof(device));
    device.cbSize = sizeof(device);
    BOOL done = SetupDiCreateDeviceInfoA(set, "System", &systemClass, NULL, NULL, DICD_GENERATE_ID, &device) &&
                SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, (const BYTE*)kHardwareId,
                                                  sizeof(kHardwareId)) &&
                SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device);
    SetupDiDestroyDeviceInfoList(set);
    return done;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: install_receiver_bus INF\n");
        return 2;
    }
    if (busAnswers()) return 0;
    if (!registerRootDevice()) {
        fprintf(stderr, "install_receiver_bus: the root device could not be made (error %lu)\n", GetLastError());
        return 1;
    }
    BOOL reboot = FALSE;
    if (!UpdateDriverForPlugAndPlayDevicesA(NULL, kHardwareId, argv[1], INSTALLFLAG_FORCE, &reboot)) {
        fprintf(stderr, "install_receiver_bus: the drivers were not installed (error %lu)\n", GetLastError());
        return 1;
    }
    for (int wait = 0; wait < 50; ++wait) {
        if (busAnswers()) return 0;
        Sleep(100);
    }
    fprintf(stderr, "install_receiver_bus: the drivers are installed, but the bus does not answer\n");
    return 1;
}
