#include "pendant/virtual_receiver.h"

#include <chrono>
#include <cstddef>
#include <cstring>

namespace pendant {

namespace protocol = receiver_protocol;

namespace {

// {4D1E55B2-F16F-11CF-88CB-001111000030}: the HID device interface class.
constexpr GUID kHidInterfaceClass = {
    0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

constexpr DWORD kStatusSuccess = 0;
constexpr DWORD kStatusCancelled = 0xC0000120;
constexpr DWORD kStatusDeviceNotConnected = 0xC000009D;

constexpr int kInterfaceCount = 2;

template <typename T>
T fromToken(UINT_PTR token) {
    return reinterpret_cast<T>(token);
}

// Sets the thread's last error and gives the failure value of the call.
BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

const char* const VirtualReceiver::kInputInterfacePath =
    "\\\\?\\hid#vid_10ce&pid_eb99&mi_00#virtual&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const char* const VirtualReceiver::kFeatureInterfacePath =
    "\\\\?\\hid#vid_10ce&pid_eb99&mi_01#virtual&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";

VirtualReceiver::VirtualReceiver(std::string pipeName) : pipeName_(std::move(pipeName)) {}

VirtualReceiver::~VirtualReceiver() {
    std::shared_ptr<ReceiverPipeLink> link;
    {
        std::lock_guard<std::mutex> hold(lock_);
        link = std::move(link_);
        unplugLocked();  // reads still pending fail rather than wait forever
    }
    // Outside the lock: the link's thread may be waiting for it in a callback.
    link.reset();
}

// --- The pipe -----------------------------------------------------------------

bool VirtualReceiver::plugIn() {
    std::lock_guard<std::mutex> plugging(plugLock_);
    std::shared_ptr<ReceiverPipeLink> gone;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (plugged_) return true;
        gone = std::move(link_);
    }
    gone.reset();  // frees the pipe so that the pendant can take a new connection

    std::shared_ptr<ReceiverPipeLink> link = ReceiverPipeLink::connect(pipeName_, *this);
    if (!link) return false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        link_ = link;
        plugged_ = true;
        ++plugging_;
        reports_.clear();
        answered_ = false;
    }
    link->start();
    return true;
}

bool VirtualReceiver::sendRecord(const std::vector<BYTE>& record) {
    std::shared_ptr<ReceiverPipeLink> link;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (plugged_) link = link_;
    }
    if (link && link->send(record)) return true;
    std::lock_guard<std::mutex> hold(lock_);
    if (link == link_) unplugLocked();
    return false;
}

void VirtualReceiver::onInputReport(ReceiverPipeLink& link, const protocol::Report& report) {
    std::lock_guard<std::mutex> hold(lock_);
    if (&link != link_.get()) return;
    if (pendingReads_.empty()) {
        reports_.push_back(report);
    } else {
        PendingRead read = pendingReads_.front();
        pendingReads_.erase(pendingReads_.begin());
        std::memcpy(read.buffer, report.data(), report.size());
        finishRead(read, kStatusSuccess);
    }
    changed_.notify_all();
}

void VirtualReceiver::onFeatureAnswer(ReceiverPipeLink& link, BYTE sequence,
                                      const protocol::Report& report) {
    std::lock_guard<std::mutex> hold(lock_);
    if (&link != link_.get() || sequence != awaitedSequence_) return;  // late or stray answer
    answer_ = report;
    answered_ = true;
    changed_.notify_all();
}

void VirtualReceiver::onLinkClosed(ReceiverPipeLink& link) {
    std::lock_guard<std::mutex> hold(lock_);
    if (&link == link_.get()) unplugLocked();
}

void VirtualReceiver::unplugLocked() {
    plugged_ = false;
    // Pending reads exist only while no report is queued: they all fail.
    for (const PendingRead& read : pendingReads_) finishRead(read, kStatusDeviceNotConnected);
    pendingReads_.clear();
    changed_.notify_all();
}

// --- Enumeration ----------------------------------------------------------------

UINT_PTR VirtualReceiver::newToken() {
    nextToken_ += 4;
    return nextToken_;
}

void VirtualReceiver::getHidGuid(GUID* guid) { *guid = kHidInterfaceClass; }

HDEVINFO VirtualReceiver::getClassDevs(const GUID* guid, DWORD flags) {
    if (!guid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    bool hidInterfaces = IsEqualGUID(*guid, kHidInterfaceClass) && (flags & DIGCF_DEVICEINTERFACE);
    int count = hidInterfaces && plugIn() ? kInterfaceCount : 0;
    std::lock_guard<std::mutex> hold(lock_);
    HDEVINFO set = fromToken<HDEVINFO>(newToken());
    interfaceSets_[set] = count;
    return set;
}

BOOL VirtualReceiver::enumDeviceInterfaces(HDEVINFO set, const GUID* guid, DWORD index,
                                           SP_DEVICE_INTERFACE_DATA* data) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = interfaceSets_.find(set);
    if (found == interfaceSets_.end()) return fail(ERROR_INVALID_HANDLE);
    if (!data || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return fail(ERROR_INVALID_USER_BUFFER);
    if (!guid || !IsEqualGUID(*guid, kHidInterfaceClass) || index >= static_cast<DWORD>(found->second))
        return fail(ERROR_NO_MORE_ITEMS);
    data->InterfaceClassGuid = kHidInterfaceClass;
    data->Flags = SPINT_ACTIVE;
    data->Reserved = index + 1;
    return TRUE;
}

BOOL VirtualReceiver::getDeviceInterfaceDetail(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* data,
                                               SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD size) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = interfaceSets_.find(set);
    if (found == interfaceSets_.end()) return fail(ERROR_INVALID_HANDLE);
    if (!data || data->Reserved < 1 || data->Reserved > static_cast<ULONG_PTR>(found->second))
        return fail(ERROR_INVALID_PARAMETER);
    const char* path = data->Reserved == 1 ? kInputInterfacePath : kFeatureInterfacePath;
    if (detail && detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
        return fail(ERROR_INVALID_USER_BUFFER);
    DWORD required = static_cast<DWORD>(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) +
                                        std::strlen(path) + 1);
    if (!detail || size < required) return fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(detail->DevicePath, path, std::strlen(path) + 1);
    return TRUE;
}

BOOL VirtualReceiver::destroyDeviceInfoList(HDEVINFO set) {
    std::lock_guard<std::mutex> hold(lock_);
    return interfaceSets_.erase(set) ? TRUE : fail(ERROR_INVALID_HANDLE);
}

// --- Files ----------------------------------------------------------------------

HANDLE VirtualReceiver::createFile(const char* path, DWORD, DWORD, DWORD, DWORD flags) {
    Interface kind;
    if (path && _stricmp(path, kInputInterfacePath) == 0) {
        kind = Interface::Input;
    } else if (path && _stricmp(path, kFeatureInterfacePath) == 0) {
        kind = Interface::Feature;
    } else {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard<std::mutex> hold(lock_);
    if (!plugged_) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = fromToken<HANDLE>(newToken());
    files_[handle] = OpenFile{kind, (flags & FILE_FLAG_OVERLAPPED) != 0, plugging_};
    return handle;
}

const VirtualReceiver::OpenFile* VirtualReceiver::liveFile(HANDLE handle) const {
    auto found = files_.find(handle);
    if (found == files_.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!plugged_ || found->second.plugging != plugging_) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return nullptr;
    }
    return &found->second;
}

BOOL VirtualReceiver::closeHandle(HANDLE handle) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!files_.erase(handle)) return fail(ERROR_INVALID_HANDLE);
    // Closing a handle ends the reads still pending on it.
    cancelPendingReads(handle, false);
    return TRUE;
}

// --- Input reports ----------------------------------------------------------------

void VirtualReceiver::finishRead(const PendingRead& read, DWORD status) {
    read.overlapped->InternalHigh = status == kStatusSuccess ? protocol::kReportSize : 0;
    read.overlapped->Internal = status;
    if (read.overlapped->hEvent) SetEvent(read.overlapped->hEvent);
}

BOOL VirtualReceiver::readFile(HANDLE handle, void* buffer, DWORD size, DWORD* read,
                               OVERLAPPED* overlapped) {
    std::unique_lock<std::mutex> hold(lock_);
    auto found = files_.find(handle);
    if (found == files_.end()) return fail(ERROR_INVALID_HANDLE);
    if (found->second.kind != Interface::Input) return fail(ERROR_INVALID_FUNCTION);
    if (!buffer || size < protocol::kReportSize) return fail(ERROR_INVALID_USER_BUFFER);
    bool overlappedHandle = found->second.overlapped;
    if (overlappedHandle && !overlapped) return fail(ERROR_INVALID_PARAMETER);
    const unsigned plugging = found->second.plugging;
    if (read) *read = 0;
    PendingRead request{handle, overlapped, static_cast<BYTE*>(buffer), GetCurrentThreadId()};

    if (!overlappedHandle) {
        // A blocking read: waits for a report, the end of the connection or
        // the closing of the handle.
        changed_.wait(hold, [&] {
            return !files_.count(handle) || plugging != plugging_ || !reports_.empty() || !plugged_;
        });
        if (!files_.count(handle)) return fail(ERROR_OPERATION_ABORTED);
    }
    if (plugging == plugging_ && !reports_.empty()) {
        std::memcpy(buffer, reports_.front().data(), protocol::kReportSize);
        reports_.pop_front();
        if (read) *read = protocol::kReportSize;
        if (overlapped) finishRead(request, kStatusSuccess);
        return TRUE;
    }
    if (plugging != plugging_ || !plugged_) return fail(ERROR_DEVICE_NOT_CONNECTED);

    if (overlapped->hEvent) ResetEvent(overlapped->hEvent);
    overlapped->Internal = STATUS_PENDING;
    overlapped->InternalHigh = 0;
    pendingReads_.push_back(request);
    return fail(ERROR_IO_PENDING);
}

BOOL VirtualReceiver::getOverlappedResult(HANDLE, OVERLAPPED* overlapped, DWORD* read, BOOL wait) {
    if (!overlapped) return fail(ERROR_INVALID_PARAMETER);
    std::unique_lock<std::mutex> hold(lock_);
    if (overlapped->Internal == STATUS_PENDING) {
        if (!wait) return fail(ERROR_IO_INCOMPLETE);
        changed_.wait(hold, [&] { return overlapped->Internal != STATUS_PENDING; });
    }
    if (read) *read = static_cast<DWORD>(overlapped->InternalHigh);
    switch (overlapped->Internal) {
    case kStatusSuccess:
        return TRUE;
    case kStatusCancelled:
        return fail(ERROR_OPERATION_ABORTED);
    case kStatusDeviceNotConnected:
        return fail(ERROR_DEVICE_NOT_CONNECTED);
    default:
        return fail(ERROR_GEN_FAILURE);
    }
}

BOOL VirtualReceiver::cancelIo(HANDLE handle) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!files_.count(handle)) return fail(ERROR_INVALID_HANDLE);
    cancelPendingReads(handle, true);
    return TRUE;
}

void VirtualReceiver::cancelPendingReads(HANDLE handle, bool callerOnly) {
    const DWORD thread = GetCurrentThreadId();
    for (auto read = pendingReads_.begin(); read != pendingReads_.end();) {
        if (read->handle == handle && (!callerOnly || read->thread == thread)) {
            finishRead(*read, kStatusCancelled);
            read = pendingReads_.erase(read);
        } else {
            ++read;
        }
    }
    changed_.notify_all();
}

// --- Identity and capabilities ----------------------------------------------------

BOOLEAN VirtualReceiver::getAttributes(HANDLE handle, HIDD_ATTRIBUTES* attributes) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!liveFile(handle)) return FALSE;
    if (!attributes) return fail(ERROR_INVALID_PARAMETER);
    attributes->Size = sizeof(HIDD_ATTRIBUTES);
    attributes->VendorID = kVendorId;
    attributes->ProductID = kProductId;
    attributes->VersionNumber = 0x0100;
    return TRUE;
}

BOOLEAN VirtualReceiver::getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) {
    std::lock_guard<std::mutex> hold(lock_);
    const OpenFile* file = liveFile(handle);
    if (!file) return FALSE;
    if (!data) return fail(ERROR_INVALID_PARAMETER);
    *data = fromToken<PHIDP_PREPARSED_DATA>(newToken());
    preparsed_[*data] = file->kind;
    return TRUE;
}

BOOLEAN VirtualReceiver::freePreparsedData(PHIDP_PREPARSED_DATA data) {
    std::lock_guard<std::mutex> hold(lock_);
    return preparsed_.erase(data) ? TRUE : fail(ERROR_INVALID_PARAMETER);
}

NTSTATUS VirtualReceiver::getCaps(PHIDP_PREPARSED_DATA data, HIDP_CAPS* caps) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = preparsed_.find(data);
    if (found == preparsed_.end() || !caps) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    *caps = HIDP_CAPS{};
    caps->UsagePage = 0xFF00;  // vendor-defined
    caps->Usage = 1;
    if (found->second == Interface::Input)
        caps->InputReportByteLength = protocol::kReportSize;
    else
        caps->FeatureReportByteLength = protocol::kReportSize;
    return HIDP_STATUS_SUCCESS;
}

// --- Feature reports ----------------------------------------------------------------

BOOLEAN VirtualReceiver::setFeature(HANDLE handle, void* report, ULONG length) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        const OpenFile* file = liveFile(handle);
        if (!file) return FALSE;
        if (file->kind != Interface::Feature) return fail(ERROR_INVALID_FUNCTION);
    }
    const BYTE* bytes = static_cast<const BYTE*>(report);
    if (!bytes || length != protocol::kReportSize || bytes[0] != kFeatureReportId)
        return fail(ERROR_INVALID_PARAMETER);
    protocol::Report written;
    std::memcpy(written.data(), bytes, written.size());
    return sendRecord(protocol::encodeFeatureWritten(written)) ? TRUE
                                                               : fail(ERROR_DEVICE_NOT_CONNECTED);
}

BOOLEAN VirtualReceiver::getFeature(HANDLE handle, void* report, ULONG length) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        const OpenFile* file = liveFile(handle);
        if (!file) return FALSE;
        if (file->kind != Interface::Feature) return fail(ERROR_INVALID_FUNCTION);
    }
    BYTE* bytes = static_cast<BYTE*>(report);
    if (!bytes || length != protocol::kReportSize || bytes[0] != kFeatureReportId)
        return fail(ERROR_INVALID_PARAMETER);

    std::lock_guard<std::mutex> oneRequest(requestLock_);
    BYTE sequence;
    {
        std::lock_guard<std::mutex> hold(lock_);
        sequence = ++awaitedSequence_;
        answered_ = false;
    }
    if (!sendRecord(protocol::encodeFeatureRequest(sequence, kFeatureReportId)))
        return fail(ERROR_DEVICE_NOT_CONNECTED);
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_for(hold, std::chrono::milliseconds(kAnswerTimeoutMs),
                      [&] { return answered_ || !plugged_; });
    if (!answered_) return fail(plugged_ ? ERROR_TIMEOUT : ERROR_DEVICE_NOT_CONNECTED);
    std::memcpy(bytes, answer_.data(), answer_.size());
    answered_ = false;
    return TRUE;
}

}  // namespace pendant
