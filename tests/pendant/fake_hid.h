#pragma once
// HID interfaces in this process behind the HID seam: any list of interfaces
// with their ids and report lengths, handles that are counted and checked,
// an input interface whose read stays pending until a report is delivered,
// the device is unplugged or the reader cancels it, and a record of every
// feature report written.
#include <windows.h>

#include <array>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "pendant/hid_api.h"

namespace pendant_testing {

using Report = std::array<BYTE, 8>;

struct FakeInterface {
    std::string path;
    USHORT vendorId = 0x10CE;
    USHORT productId = 0xEB99;
    USHORT inputLength = 0;
    USHORT featureLength = 0;
    GUID interfaceClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};
    bool attributesFail = false;
};

// The receiver's two interfaces, and a device of somebody else.
FakeInterface receiverInput(const std::string& path = "receiver-input");
FakeInterface receiverFeature(const std::string& path = "receiver-feature");
FakeInterface otherDevice(const std::string& path);

// Bytes 1-7 of each report one after the other, with a marker in place of a
// report whose id is not 6.
std::string payloadOf(const std::vector<Report>& reports);

class FakeHid : public pendant::HidApi {
public:
    // Installs itself as the HID calls of this process until destroyed.
    FakeHid();
    ~FakeHid() override;

    void plugIn(const std::vector<FakeInterface>& interfaces);
    // Every interface goes away; a pending read fails.
    void unplug();
    // Completes the pending read with `report`, or keeps it for the next read.
    void deliver(const Report& report);
    // Feature writes fail from the `writeNumber`th after this call (1 = the next).
    void failFeatureWritesFrom(int writeNumber);

    // While held, a cancelled read stays pending (a driver slow to cancel)
    // until the hold is let go.
    void holdCancellation(bool hold);

    // Waits (real time) until a read is pending; false after `timeoutMs`.
    bool waitForPendingRead(DWORD timeoutMs);
    // Waits (real time) until no handle is open; false after `timeoutMs`.
    bool waitForAllClosed(DWORD timeoutMs);

    int openHandles() const;
    std::vector<Report> featureReports() const;
    void clearFeatureReports();

    struct Tally {
        DWORD highestIndexAsked = 0;  // of the interface indexes asked for
        int opens = 0;
        int featureReads = 0;
        int preparsedNotFreed = 0;
        // Faults: a handle closed while a read on it was pending, a close of a
        // handle that was not open, a cancel from another thread than the read's.
        int closesUnderPendingRead = 0;
        int badCloses = 0;
        int foreignCancels = 0;
    };
    Tally tally() const;

    void getHidGuid(GUID* guid) override;
    HDEVINFO getClassDevs(const GUID* guid, DWORD flags) override;
    BOOL enumDeviceInterfaces(HDEVINFO set, const GUID* guid, DWORD index,
                              SP_DEVICE_INTERFACE_DATA* data) override;
    BOOL getDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data,
                                  SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD size) override;
    BOOL destroyDeviceInfoList(HDEVINFO set) override;
    HANDLE createFile(const char* path, DWORD access, DWORD share, DWORD creation,
                      DWORD flags) override;
    BOOL closeHandle(HANDLE handle) override;
    BOOL readFile(HANDLE handle, void* buffer, DWORD size, DWORD* read,
                  OVERLAPPED* overlapped) override;
    BOOL getOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* read,
                             BOOL wait) override;
    BOOL cancelIo(HANDLE handle) override;
    BOOLEAN getAttributes(HANDLE handle, HIDD_ATTRIBUTES* attributes) override;
    BOOLEAN getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) override;
    BOOLEAN freePreparsedData(PHIDP_PREPARSED_DATA data) override;
    NTSTATUS getCaps(PHIDP_PREPARSED_DATA data, HIDP_CAPS* caps) override;
    BOOLEAN setFeature(HANDLE handle, void* report, ULONG length) override;
    BOOLEAN getFeature(HANDLE handle, void* report, ULONG length) override;

private:
    struct OpenHandle {
        FakeInterface device;
        bool present;  // false once the device was unplugged
    };
    struct Read {
        HANDLE handle = nullptr;
        OVERLAPPED* overlapped = nullptr;
        BYTE* buffer = nullptr;
        DWORD thread = 0;
        bool cancelled = false;
        bool done = false;
        bool succeeded = false;
        DWORD error = 0;
    };

    // The open, still present interface behind `handle`, or nullptr.
    const FakeInterface* presentInterface(HANDLE handle) const;
    void completeRead(bool succeeded, DWORD error);

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<FakeInterface> interfaces_;
    std::map<HANDLE, OpenHandle> handles_;
    UINT_PTR nextHandle_ = 0x1000;
    std::vector<Report> queued_;
    Read read_;
    bool readActive_ = false;
    bool holdCancellation_ = false;
    std::vector<Report> featureReports_;
    int failWritesFrom_ = 0;
    int writes_ = 0;
    Tally tally_;
};

}  // namespace pendant_testing
