#pragma once
// The HID seam: every SetupAPI, HID and file call of the pendant link goes
// through here. Production uses the real calls; tests and the virtual
// receiver present any set of interfaces.
#include <windows.h>
#include <setupapi.h>
#include <hidsdi.h>
#include <hidpi.h>

namespace pendant {

class HidApi {
public:
    virtual ~HidApi() = default;

    virtual void getHidGuid(GUID* guid) = 0;
    virtual HDEVINFO getClassDevs(const GUID* guid, DWORD flags) = 0;
    virtual BOOL enumDeviceInterfaces(HDEVINFO set, const GUID* guid, DWORD index,
                                      SP_DEVICE_INTERFACE_DATA* data) = 0;
    virtual BOOL getDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data,
                                          SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD size) = 0;
    virtual BOOL destroyDeviceInfoList(HDEVINFO set) = 0;

    virtual HANDLE createFile(const char* path, DWORD access, DWORD share, DWORD creation,
                              DWORD flags) = 0;
    virtual BOOL closeHandle(HANDLE handle) = 0;
    // Reads with an OVERLAPPED record when the handle was opened overlapped.
    virtual BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD* read,
                          OVERLAPPED* overlapped) = 0;
    virtual BOOL getOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* read,
                                     BOOL wait) = 0;
    // Cancels the calling thread's pending I/O on the handle.
    virtual BOOL cancelIo(HANDLE handle) = 0;

    virtual BOOLEAN getAttributes(HANDLE handle, HIDD_ATTRIBUTES* attributes) = 0;
    virtual BOOLEAN getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) = 0;
    virtual BOOLEAN freePreparsedData(PHIDP_PREPARSED_DATA data) = 0;
    virtual NTSTATUS getCaps(PHIDP_PREPARSED_DATA data, HIDP_CAPS* caps) = 0;
    virtual BOOLEAN setFeature(HANDLE handle, void* report, ULONG length) = 0;
    virtual BOOLEAN getFeature(HANDLE handle, void* report, ULONG length) = 0;
};

// The HID calls of this process.
HidApi& hid();

// Replaces them; nullptr brings back the real calls.
void installHid(HidApi* api);

}  // namespace pendant
