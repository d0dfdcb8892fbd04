#include "pendant/pendant_device.h"

#include <cstring>

#include "pendant/hid_api.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

// GUID_DEVINTERFACE_USB_DEVICE: watched until the receiver's own HID class is known.
constexpr GUID kUsbDeviceClass = {0xA5DCBF10, 0x6530, 0x11D2,
                                  {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

constexpr BYTE kFeatureReportId = 6;
constexpr int kReportSize = 8;
constexpr int kPayloadSize = kReportSize - 1;
// How long closeDevice waits for the reader to let go of the handles, and
// how often it looks whether the reader went into a key action meanwhile.
constexpr DWORD kReaderStopBoundMs = 2000;
constexpr DWORD kReaderLookMs = 10;
// How long an operation waits for the device lock.
constexpr DWORD kLockBoundMs = 2000;

}  // namespace

PendantDevice::Lock::Lock(HANDLE mutex) : mutex_(mutex) {
    const DWORD woke = WaitForSingleObject(mutex_, kLockBoundMs);
    held_ = woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED;
}

PendantDevice::Lock::~Lock() {
    if (held_) ReleaseMutex(mutex_);
}

PendantDevice::PendantDevice()
    : lock_(CreateMutexA(nullptr, FALSE, nullptr)),
      notifyClassGuid_(kUsbDeviceClass),
      readerStop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      readDone_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

PendantDevice::~PendantDevice() {
    closeDevice();
    CloseHandle(readDone_);
    CloseHandle(readerStop_);
    CloseHandle(lock_);
}

PendantDevice& device() {
    static PendantDevice theDevice;
    return theDevice;
}

int PendantDevice::openDevice(HWND) {
    Lock guard(lock_);
    connected = 0;
    openFoundNoReceiver_ = false;
    if (!guard.held()) return 0;
    connected = enumerate();
    return connected;
}

int PendantDevice::ensureOpen() {
    Lock guard(lock_);
    if (!guard.held()) return 0;
    if (inputHandle_ != INVALID_HANDLE_VALUE || featureHandle_ != INVALID_HANDLE_VALUE) return 1;
    connected = enumerate();
    return connected;
}

void PendantDevice::closeDevice() {
    Lock guard(lock_);
    SetEvent(readerStop_);
    connected = 0;
    // The lock holder is stuck in a HID call: the handles stay for the next
    // close.
    if (!guard.held()) return;
    if (featureHandle_ != INVALID_HANDLE_VALUE || inputHandle_ != INVALID_HANDLE_VALUE) platform::logEvent("receiver closed");
    featureMatches_ = 0;
    bool readerLetGo = true;
    if (readerThread_) {
        readerLetGo = waitForReader();
        if (readerLetGo) {
            CloseHandle(readerThread_);
            readerThread_ = nullptr;
        }
    }
    if (readerLetGo) {
        closeHandles();
    } else {
        handOverToReader();
    }
}

bool PendantDevice::waitForReader() {
    for (DWORD waited = 0; waited < kReaderStopBoundMs; waited += kReaderLookMs) {
        if (WaitForSingleObject(readerThread_, kReaderLookMs) == WAIT_OBJECT_0) return true;
        if (readerInKeyAction()) return false;
    }
    return false;
}

bool PendantDevice::forgetEndedReader() {
    if (WaitForSingleObject(readerThread_, 0) != WAIT_OBJECT_0) return false;
    CloseHandle(readerThread_);
    readerThread_ = nullptr;
    return true;
}

void PendantDevice::closeHandles() {
    if (featureHandle_ != INVALID_HANDLE_VALUE) hid().closeHandle(featureHandle_);
    if (inputHandle_ != INVALID_HANDLE_VALUE) hid().closeHandle(inputHandle_);
    featureHandle_ = INVALID_HANDLE_VALUE;
    inputHandle_ = INVALID_HANDLE_VALUE;
}

// The reader is still busy (a key action, or a read slow to cancel): it may
// yet touch the input handle, so it closes both handles itself when it
// leaves. The reader stays recorded until then, which keeps the next
// enumeration from opening anew.
void PendantDevice::handOverToReader() {
    std::lock_guard<std::mutex> handOver(handOverLock_);
    if (readerLeft_) {
        closeHandles();
        return;
    }
    // Nothing opens while this reader is recorded, so the handles are either
    // still here or were handed over by an earlier close.
    if (inputHandle_ != INVALID_HANDLE_VALUE) handedInput_ = inputHandle_;
    if (featureHandle_ != INVALID_HANDLE_VALUE) handedFeature_ = featureHandle_;
    inputHandle_ = INVALID_HANDLE_VALUE;
    featureHandle_ = INVALID_HANDLE_VALUE;
}

int PendantDevice::sendFeatureData(const BYTE* data, int length) {
    Lock guard(lock_);
    if (!guard.held()) return 0;
    if (featureHandle_ == INVALID_HANDLE_VALUE) {
        if (!ensureOpen() || featureHandle_ == INVALID_HANDLE_VALUE) return 0;
    }
    int remaining = static_cast<BYTE>(length);
    if (remaining == 0) return 1;
    if (!data) return 0;
    BYTE report[kReportSize];
    report[0] = kFeatureReportId;
    while (remaining > kPayloadSize) {
        std::memcpy(report + 1, data, kPayloadSize);
        if (!setFeature(report)) return 0;
        data += kPayloadSize;
        remaining -= kPayloadSize;
    }
    std::memset(report + 1, 0, kPayloadSize);
    std::memcpy(report + 1, data, remaining);
    return setFeature(report) ? 1 : 0;
}

int PendantDevice::getFeatureReport(BYTE* buffer, int length) {
    const BYTE size = static_cast<BYTE>(length);
    if (!buffer || size == 0) return 0;
    Lock guard(lock_);
    if (!guard.held()) return 0;
    if (featureHandle_ == INVALID_HANDLE_VALUE) {
        if (!ensureOpen() || featureHandle_ == INVALID_HANDLE_VALUE) return 0;
    }
    if (hid().getFeature(featureHandle_, buffer, size)) return 1;
    platform::logEvent("status read of the receiver failed: error %s", platform::errorText(GetLastError()).c_str());
    return 0;
}

BOOL PendantDevice::setFeature(BYTE report[8]) {
    if (hid().setFeature(featureHandle_, report, kReportSize)) return TRUE;
    platform::logEvent("feature report %02X %02X %02X.. not written: error %s", report[0], report[1], report[2],
                       platform::errorText(GetLastError()).c_str());
    return FALSE;
}

// Opens the display: id 6, FE FD, the UTC day of the month, four spaces.
void PendantDevice::sendStartReport() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    BYTE report[kReportSize] = {kFeatureReportId, 0xFE, 0xFD, static_cast<BYTE>(now.wDay),
                                0x20, 0x20, 0x20, 0x20};
    if (setFeature(report)) platform::logEvent("start report sent (day %u)", now.wDay);
}

}  // namespace pendant
