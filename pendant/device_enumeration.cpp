// Finding the receiver among the present HID interfaces.
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr USHORT kVendorId = 0x10CE;
constexpr USHORT kProductId = 0xEB99;
constexpr USHORT kReportLength = 8;
constexpr int kMaxFeatureInterfaces = 4;
constexpr DWORD kDetailSize = 1024;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// Written by the thread holding the device lock; an unchanged result of the
// main thread's retries is not repeated.
platform::LogChange enumerationLog;

// Report lengths of the receiver's interface, or false when it is not one.
bool readReceiverCaps(HANDLE handle, HIDP_CAPS& caps) {
    HIDD_ATTRIBUTES attributes = {};
    attributes.Size = sizeof(attributes);
    if (!hid().getAttributes(handle, &attributes)) return false;
    if (attributes.VendorID != kVendorId || attributes.ProductID != kProductId) return false;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!hid().getPreparsedData(handle, &preparsed)) return false;
    const NTSTATUS status = hid().getCaps(preparsed, &caps);
    hid().freePreparsedData(preparsed);
    return status == HIDP_STATUS_SUCCESS;
}

}  // namespace

// Runs with the lock held. 1 when an input and a feature interface are open,
// the reader runs and the start report went out.
int PendantDevice::enumerate() {
    openWaitedForReader_ = false;
    if (featureHandle_ != INVALID_HANDLE_VALUE) return 1;
    // A recorded reader that still runs is either one that outlived the last
    // close (it holds the handles it was left) or one idling after a failed
    // read, which no close may ever come to stop when this attempt clears
    // `connected`: it is asked to stop, nothing opens until it has ended,
    // and nobody waits for it.
    if (readerThread_ && !forgetEndedReader()) {
        SetEvent(readerStop_);
        openWaitedForReader_ = true;
        return 0;
    }
    closeHandles();
    GUID hidClass;
    hid().getHidGuid(&hidClass);
    HDEVINFO interfaces = hid().getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (interfaces == INVALID_HANDLE_VALUE) return 0;

    featureMatches_ = 0;
    matchedPaths_.clear();
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) BYTE detailBuffer[kDetailSize];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(detailBuffer);
    // Every present interface is looked at: a PC brings many HID collections
    // (keyboards, mice, touchpads, headsets, sensors), and the receiver may
    // come after all of them.
    DWORD seen = 0;
    while (featureMatches_ < kMaxFeatureInterfaces && examineInterface(interfaces, hidClass, seen, detail)) ++seen;
    hid().destroyDeviceInfoList(interfaces);
    platform::logEventOnChange(enumerationLog, "receiver: %lu HID interfaces seen, input interface %s, %d feature interface(s)",
                     static_cast<unsigned long>(seen), inputHandle_ == INVALID_HANDLE_VALUE ? "none" : "open",
                     featureMatches_);

    if (inputHandle_ == INVALID_HANDLE_VALUE || featureMatches_ == 0) {
        openFoundNoReceiver_ = true;
        closeDevice();
        return 0;
    }
    if (!readerThread_ && !startReader()) {
        closeHandles();
        return 0;
    }
    {
        std::lock_guard<std::mutex> paths(pathsLock_);
        receiverPaths_ = matchedPaths_;
    }
    sendStartReport();
    platform::logEvent("receiver opened, reader started");
    return 1;
}

bool PendantDevice::examineInterface(HDEVINFO interfaces, const GUID& hidClass, DWORD index,
                                     SP_DEVICE_INTERFACE_DETAIL_DATA_A* detail) {
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    if (!hid().enumDeviceInterfaces(interfaces, &hidClass, index, &data)) return false;
    // A device that fails a call is passed over; it ends nothing.
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    if (!hid().getDeviceInterfaceDetail(interfaces, &data, detail, kDetailSize)) return true;
    // The buffer is ours: make sure the path ends inside it.
    reinterpret_cast<BYTE*>(detail)[kDetailSize - 1] = 0;

    HANDLE handle =
        hid().createFile(detail->DevicePath, GENERIC_READ, kShareReadWrite, OPEN_EXISTING, 0);
    if (handle == INVALID_HANDLE_VALUE) return true;

    HIDP_CAPS caps = {};
    if (readReceiverCaps(handle, caps)) {
        if (caps.FeatureReportByteLength == kReportLength) {
            platform::logEvent("receiver: feature interface %s", detail->DevicePath);
            matchedPaths_.push_back(detail->DevicePath);
            keepFeatureInterface(handle, data.InterfaceClassGuid);
            return true;
        }
        if (caps.InputReportByteLength == kReportLength) {
            platform::logEvent("receiver: input interface %s", detail->DevicePath);
            matchedPaths_.push_back(detail->DevicePath);
            hid().closeHandle(handle);
            keepInputInterface(detail->DevicePath);
            return true;
        }
    }
    hid().closeHandle(handle);
    return true;
}

void PendantDevice::keepFeatureInterface(HANDLE handle, const GUID& interfaceClass) {
    notifyClassGuid_ = interfaceClass;
    if (featureHandle_ != INVALID_HANDLE_VALUE) hid().closeHandle(featureHandle_);
    featureHandle_ = handle;
    ++featureMatches_;
}

// The input interface is read overlapped, so that the reader can wait for a
// report and for its stop signal at once: it is opened anew for that.
void PendantDevice::keepInputInterface(const char* path) {
    HANDLE handle =
        hid().createFile(path, GENERIC_READ, kShareReadWrite, OPEN_EXISTING, FILE_FLAG_OVERLAPPED);
    if (handle == INVALID_HANDLE_VALUE) return;
    if (inputHandle_ != INVALID_HANDLE_VALUE) hid().closeHandle(inputHandle_);
    inputHandle_ = handle;
}

}  // namespace pendant
