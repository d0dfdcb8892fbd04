#pragma once
// A receiver without hardware: the HID calls of the pendant link answered by
// one receiver (vendor 0x10CE, product 0xEB99) with an 8-byte input interface
// and an 8-byte feature interface, whose radio side is a stand-in pendant at
// the other end of a named pipe (the README describes it).
//
// The receiver is plugged in while a pendant serves the pipe: each enumeration
// connects to the pipe if it is not connected. Input reports from the pendant
// complete reads of the input interface in arrival order; feature reports
// written go up the pipe; feature reads are answered by the pendant. When the
// pipe breaks the receiver counts as unplugged: reports already received are
// still read, then reads fail with ERROR_DEVICE_NOT_CONNECTED, and its handles
// stay dead until they are closed and the interfaces opened anew.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pendant/hid_api.h"
#include "pendant/receiver_pipe_link.h"

namespace pendant {

class VirtualReceiver : public HidApi, private ReceiverPipeLink::Listener {
public:
    static constexpr USHORT kVendorId = 0x10CE;
    static constexpr USHORT kProductId = 0xEB99;
    static constexpr BYTE kFeatureReportId = 6;
    static const char* const kInputInterfacePath;
    static const char* const kFeatureInterfacePath;
    // How long a feature read waits for the pendant's answer.
    static constexpr DWORD kAnswerTimeoutMs = 1000;

    explicit VirtualReceiver(std::string pipeName);
    ~VirtualReceiver() override;
    VirtualReceiver(const VirtualReceiver&) = delete;
    VirtualReceiver& operator=(const VirtualReceiver&) = delete;

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
    enum class Interface { Input, Feature };

    struct OpenFile {
        Interface kind;
        bool overlapped;
        unsigned plugging;  // the connection the handle was opened on
    };

    struct PendingRead {
        HANDLE handle;
        OVERLAPPED* overlapped;
        BYTE* buffer;
        DWORD thread;  // the thread that started the read (for cancelIo)
    };

    void onInputReport(ReceiverPipeLink& link, const receiver_protocol::Report& report) override;
    void onFeatureAnswer(ReceiverPipeLink& link, BYTE sequence,
                         const receiver_protocol::Report& report) override;
    void onLinkClosed(ReceiverPipeLink& link) override;

    // Connects to the pendant when no live connection exists; true when plugged in.
    bool plugIn();
    // The open file behind `handle` when it belongs to the live connection,
    // or nullptr with the thread's last error set. Called with lock_ held.
    const OpenFile* liveFile(HANDLE handle) const;
    // A handle, device information set or preparsed-data value of our own.
    // Called with lock_ held.
    UINT_PTR newToken();
    // Sends a record on the current connection; false when it has gone.
    bool sendRecord(const std::vector<BYTE>& record);
    // Ends a pending read with `status`, filling in the caller's OVERLAPPED
    // and signalling its event. Called with lock_ held.
    void finishRead(const PendingRead& read, DWORD status);
    // Cancels the pending reads on `handle`; only the calling thread's when
    // `callerOnly`. Called with lock_ held.
    void cancelPendingReads(HANDLE handle, bool callerOnly);
    void unplugLocked();

    const std::string pipeName_;
    std::mutex plugLock_;     // one connection attempt at a time
    std::mutex requestLock_;  // one feature read at a time

    std::mutex lock_;
    std::condition_variable changed_;
    std::shared_ptr<ReceiverPipeLink> link_;
    bool plugged_ = false;
    unsigned plugging_ = 0;
    std::deque<receiver_protocol::Report> reports_;
    std::vector<PendingRead> pendingReads_;
    std::map<HANDLE, OpenFile> files_;
    std::map<HDEVINFO, int> interfaceSets_;  // set -> number of interfaces in it
    std::map<PHIDP_PREPARSED_DATA, Interface> preparsed_;
    UINT_PTR nextToken_ = 0x7E00;
    BYTE awaitedSequence_ = 0;
    bool answered_ = false;
    receiver_protocol::Report answer_{};
};

}  // namespace pendant
