#include "tests/pendant/fake_hid.h"

#include <chrono>
#include <cstring>

namespace pendant_testing {
namespace {

const GUID kHidClass = FakeInterface{}.interfaceClass;
const HDEVINFO kInterfaceSet = reinterpret_cast<HDEVINFO>(0x7000);

}  // namespace

FakeInterface receiverInput(const std::string& path) { return {path, 0x10CE, 0xEB99, 8, 0}; }

FakeInterface receiverFeature(const std::string& path) {
    return {path, 0x10CE, 0xEB99, 0, 8, {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}}};
}

FakeInterface otherDevice(const std::string& path) { return {path, 0x046D, 0xC52B, 8, 8}; }

std::string payloadOf(const std::vector<Report>& reports) {
    std::string payload;
    for (const Report& report : reports)
        payload += report[0] == 6 ? std::string(report.begin() + 1, report.end()) : "<not report 6>";
    return payload;
}

FakeHid::FakeHid() { pendant::installHid(this); }

FakeHid::~FakeHid() { pendant::installHid(nullptr); }

void FakeHid::plugIn(const std::vector<FakeInterface>& interfaces) {
    std::lock_guard<std::mutex> guard(lock_);
    interfaces_ = interfaces;
}

void FakeHid::unplug() {
    std::lock_guard<std::mutex> guard(lock_);
    interfaces_.clear();
    for (auto& entry : handles_) entry.second.present = false;
    if (readActive_ && !read_.done) completeRead(false, ERROR_DEVICE_NOT_CONNECTED);
}

void FakeHid::deliver(const Report& report) {
    std::lock_guard<std::mutex> guard(lock_);
    if (readActive_ && !read_.done) {
        std::memcpy(read_.buffer, report.data(), report.size());
        completeRead(true, 0);
    } else {
        queued_.push_back(report);
    }
}

void FakeHid::failFeatureWritesFrom(int writeNumber) {
    std::lock_guard<std::mutex> guard(lock_);
    failWritesFrom_ = writeNumber;
    writes_ = 0;
}

void FakeHid::holdCancellation(bool hold) {
    std::lock_guard<std::mutex> guard(lock_);
    holdCancellation_ = hold;
    if (!hold && readActive_ && read_.cancelled && !read_.done)
        completeRead(false, ERROR_OPERATION_ABORTED);
}

// Runs with the lock held.
void FakeHid::completeRead(bool succeeded, DWORD error) {
    read_.done = true;
    read_.succeeded = succeeded;
    read_.error = error;
    read_.overlapped->InternalHigh = succeeded ? 8 : 0;
    SetEvent(read_.overlapped->hEvent);
    changed_.notify_all();
}

bool FakeHid::waitForPendingRead(DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [this] { return readActive_ && !read_.done; });
}

bool FakeHid::waitForAllClosed(DWORD timeoutMs) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [this] { return handles_.empty(); });
}

int FakeHid::openHandles() const {
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(handles_.size());
}

std::vector<Report> FakeHid::featureReports() const {
    std::lock_guard<std::mutex> guard(lock_);
    return featureReports_;
}

void FakeHid::clearFeatureReports() {
    std::lock_guard<std::mutex> guard(lock_);
    featureReports_.clear();
}

FakeHid::Tally FakeHid::tally() const {
    std::lock_guard<std::mutex> guard(lock_);
    return tally_;
}

const FakeInterface* FakeHid::presentInterface(HANDLE handle) const {
    auto found = handles_.find(handle);
    if (found == handles_.end() || !found->second.present) return nullptr;
    return &found->second.device;
}

void FakeHid::getHidGuid(GUID* guid) { *guid = kHidClass; }

HDEVINFO FakeHid::getClassDevs(const GUID*, DWORD) { return kInterfaceSet; }

BOOL FakeHid::enumDeviceInterfaces(HDEVINFO, const GUID*, DWORD index,
                                   SP_DEVICE_INTERFACE_DATA* data) {
    std::lock_guard<std::mutex> guard(lock_);
    if (index > tally_.highestIndexAsked) tally_.highestIndexAsked = index;
    if (index >= interfaces_.size()) {
        SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    data->InterfaceClassGuid = interfaces_[index].interfaceClass;
    data->Reserved = index;
    return TRUE;
}

BOOL FakeHid::getDeviceInterfaceDetail(HDEVINFO, SP_DEVICE_INTERFACE_DATA* data,
                                       SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail, DWORD size) {
    std::lock_guard<std::mutex> guard(lock_);
    const std::string& path = interfaces_.at(data->Reserved).path;
    const size_t room = size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
    if (path.size() + 1 > room) return FALSE;
    std::memcpy(detail->DevicePath, path.c_str(), path.size() + 1);
    return TRUE;
}

BOOL FakeHid::destroyDeviceInfoList(HDEVINFO) { return TRUE; }

HANDLE FakeHid::createFile(const char* path, DWORD, DWORD, DWORD, DWORD) {
    std::lock_guard<std::mutex> guard(lock_);
    for (const FakeInterface& device : interfaces_) {
        if (device.path != path) continue;
        HANDLE handle = reinterpret_cast<HANDLE>(nextHandle_);
        nextHandle_ += 4;
        handles_[handle] = OpenHandle{device, true};
        ++tally_.opens;
        return handle;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

BOOL FakeHid::closeHandle(HANDLE handle) {
    std::lock_guard<std::mutex> guard(lock_);
    if (handles_.erase(handle) == 0) {
        ++tally_.badCloses;
        return FALSE;
    }
    if (readActive_ && read_.handle == handle) ++tally_.closesUnderPendingRead;
    changed_.notify_all();
    return TRUE;
}

BOOL FakeHid::readFile(HANDLE handle, void* buffer, DWORD, DWORD* read, OVERLAPPED* overlapped) {
    std::lock_guard<std::mutex> guard(lock_);
    const FakeInterface* device = presentInterface(handle);
    if (!device || device->inputLength != 8 || !overlapped || readActive_) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    if (!queued_.empty()) {
        std::memcpy(buffer, queued_.front().data(), 8);
        queued_.erase(queued_.begin());
        *read = 8;
        SetEvent(overlapped->hEvent);
        return TRUE;
    }
    read_ = Read{handle, overlapped, static_cast<BYTE*>(buffer), GetCurrentThreadId()};
    readActive_ = true;
    changed_.notify_all();
    SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL FakeHid::getOverlappedResult(HANDLE handle, OVERLAPPED* overlapped, DWORD* read, BOOL wait) {
    std::unique_lock<std::mutex> guard(lock_);
    if (!readActive_ || read_.handle != handle || read_.overlapped != overlapped) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!read_.done && !wait) {
        SetLastError(ERROR_IO_INCOMPLETE);
        return FALSE;
    }
    changed_.wait(guard, [this] { return read_.done; });
    readActive_ = false;
    changed_.notify_all();
    *read = read_.succeeded ? 8 : 0;
    if (!read_.succeeded) SetLastError(read_.error);
    return read_.succeeded ? TRUE : FALSE;
}

BOOL FakeHid::cancelIo(HANDLE handle) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!readActive_ || read_.handle != handle) return TRUE;
    if (read_.thread != GetCurrentThreadId()) {
        ++tally_.foreignCancels;
        return TRUE;
    }
    read_.cancelled = true;
    if (!read_.done && !holdCancellation_) completeRead(false, ERROR_OPERATION_ABORTED);
    return TRUE;
}

BOOLEAN FakeHid::getAttributes(HANDLE handle, HIDD_ATTRIBUTES* attributes) {
    std::lock_guard<std::mutex> guard(lock_);
    const FakeInterface* device = presentInterface(handle);
    if (!device || device->attributesFail) return FALSE;
    attributes->VendorID = device->vendorId;
    attributes->ProductID = device->productId;
    return TRUE;
}

BOOLEAN FakeHid::getPreparsedData(HANDLE handle, PHIDP_PREPARSED_DATA* data) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!presentInterface(handle)) return FALSE;
    *data = reinterpret_cast<PHIDP_PREPARSED_DATA>(handle);
    ++tally_.preparsedNotFreed;
    return TRUE;
}

BOOLEAN FakeHid::freePreparsedData(PHIDP_PREPARSED_DATA) {
    std::lock_guard<std::mutex> guard(lock_);
    --tally_.preparsedNotFreed;
    return TRUE;
}

NTSTATUS FakeHid::getCaps(PHIDP_PREPARSED_DATA data, HIDP_CAPS* caps) {
    std::lock_guard<std::mutex> guard(lock_);
    const FakeInterface* device = presentInterface(reinterpret_cast<HANDLE>(data));
    if (!device) return HIDP_STATUS_INVALID_PREPARSED_DATA;
    *caps = HIDP_CAPS{};
    caps->InputReportByteLength = device->inputLength;
    caps->FeatureReportByteLength = device->featureLength;
    return HIDP_STATUS_SUCCESS;
}

BOOLEAN FakeHid::setFeature(HANDLE handle, void* report, ULONG length) {
    std::lock_guard<std::mutex> guard(lock_);
    const FakeInterface* device = presentInterface(handle);
    ++writes_;
    if (!device || device->featureLength != 8 || length != 8) return FALSE;
    if (failWritesFrom_ && writes_ >= failWritesFrom_) return FALSE;
    Report written;
    std::memcpy(written.data(), report, 8);
    featureReports_.push_back(written);
    return TRUE;
}

BOOLEAN FakeHid::getFeature(HANDLE handle, void* report, ULONG length) {
    std::lock_guard<std::mutex> guard(lock_);
    ++tally_.featureReads;
    const FakeInterface* device = presentInterface(handle);
    if (!device || device->featureLength != 8 || length != 8) return FALSE;
    const BYTE status[8] = {6, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0};
    std::memcpy(report, status, 8);
    return TRUE;
}

}  // namespace pendant_testing
