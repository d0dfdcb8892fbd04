#include <windows.h>
// mingw-w64's HID headers declare hid.dll's functions without C linkage.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include "pendant/hid_api.h"

namespace pendant {
namespace {

// SetupAPI, HID and file calls of Windows, unchanged.
class SystemHidApi : public HidApi {
public:
    void getHidGuid(GUID* guid) override { HidD_GetHidGuid(guid); }

    HDEVINFO getClassDevs(const GUID* guid, DWORD flags) override {
        return SetupDiGetClassDevsA(guid, nullptr, nullptr, flags);
    }

    BOOL enumDeviceInterfaces(HDEVINFO set, const GUID* guid, DWORD index,
                              SP_DEVICE_INTERFACE_DATA* data) override {
        return SetupDiEnumDeviceInterfaces(set, nullptr, guid, index, data);
    }

    BOOL getDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data,
                                  SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD size) override {
        return SetupDiGetDeviceInterfaceDetailA(set, data, detail, size, nullptr, nullptr);
    }

    BOOL destroyDeviceInfoList(HDEVINFO set) override { return SetupDiDestroyDeviceInfoList(set); }

    HANDLE createFile(const char* path, DWORD access, DWORD share, DWORD creation,
                      DWORD flags) override {
        return CreateFileA(path, access, share, nullptr, creation, flags, nullptr);
    }

    BOOL closeHandle(HANDLE handle) override { return CloseHandle(handle); }

    BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD* read,
                  OVERLAPPED* overlapped) override {
        return ReadFile(handle, buffer, size, read, overlapped);
    }

    BOOL getOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* read,
                             BOOL wait) override {
        return GetOverlappedResult(handle, overlapped, read, wait);
    }

    BOOL cancelIo(HANDLE handle) override { return CancelIo(handle); }

    BOOLEAN getAttributes(HANDLE handle, HIDD_ATTRIBUTES* attributes) override {
        return HidD_GetAttributes(handle, attributes);
    }

    BOOLEAN getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) override {
        return HidD_GetPreparsedData(handle, data);
    }

    BOOLEAN freePreparsedData(PHIDP_PREPARSED_DATA data) override {
        return HidD_FreePreparsedData(data);
    }

    NTSTATUS getCaps(PHIDP_PREPARSED_DATA data, HIDP_CAPS* caps) override {
        return HidP_GetCaps(data, caps);
    }

    BOOLEAN setFeature(HANDLE handle, void* report, ULONG length) override {
        return HidD_SetFeature(handle, report, length);
    }

    BOOLEAN getFeature(HANDLE handle, void* report, ULONG length) override {
        return HidD_GetFeature(handle, report, length);
    }
};

SystemHidApi systemHid;
HidApi* installed = nullptr;

}  // namespace

HidApi& hid() { return installed ? *installed : systemHid; }

void installHid(HidApi* api) { installed = api; }

}  // namespace pendant
