#pragma once
// The receiver: found by its vendor and product ids among the HID interfaces,
// opened as an 8-byte input interface (read by the reader thread) and an
// 8-byte feature interface (display frames, start report, re-pair commands),
// watched for arrival and removal, and reopened after a failure.
#include <windows.h>

namespace pendant {

class PendantDevice {
public:
    PendantDevice();
    ~PendantDevice();
    PendantDevice(const PendantDevice&) = delete;
    PendantDevice& operator=(const PendantDevice&) = delete;

    int openDevice(HWND window);
    int ensureOpen();
    void closeDevice();
    // Sends `length` (taken as one byte) bytes as ceil(length / 7) feature
    // reports of 8 bytes with id 6; 1 when all went out.
    int sendFeatureData(const BYTE* data, int length);
    int getFeatureReport(BYTE* buffer, int length);
    int registerDeviceNotification(HWND mainWindow);
    BOOL onDeviceChange(WPARAM event, LPARAM data);
    void reconnectStep(HWND mainWindow);

    // The receiver is open (the last enumeration's result).
    volatile int connected = 0;
};

// The receiver of this process.
PendantDevice& device();

}  // namespace pendant
