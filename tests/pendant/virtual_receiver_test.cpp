// The virtual receiver as a HID device: enumeration, both interfaces, reads
// that stay pending, cancel and close, and the pendant going away.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "pendant/virtual_receiver.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace {

using pendant::VirtualReceiver;
using standin::Report;

const DWORD kInterfaces = DIGCF_PRESENT | DIGCF_DEVICEINTERFACE;
const Report kKeyReport = {4, 0, 7, 0, 13, 17, 0, 0};
const Report kWheelReport = {4, 0, 0, 0, 13, 17, 0xFD, 0};
const Report kKnobReport = {4, 0, 0, 0, 155, 19, 0, 0};
const Report kStartReport = {6, 0xFE, 0xFD, 7, 0x20, 0x20, 0x20, 0x20};

class ManualEvent {
public:
    ManualEvent() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~ManualEvent() { CloseHandle(handle_); }
    HANDLE get() const { return handle_; }
    bool signalledWithin(DWORD ms) const { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

private:
    HANDLE handle_;
};

DWORD lastError(BOOL result) {
    EXPECT_FALSE(result);
    return GetLastError();
}

class VirtualReceiverTest : public testing_support::PendantPipeFixture {
protected:
    std::vector<std::string> enumeratePaths() {
        GUID hidClass;
        receiver.getHidGuid(&hidClass);
        HDEVINFO set = receiver.getClassDevs(&hidClass, kInterfaces);
        std::vector<std::string> paths;
        for (DWORD index = 0;; ++index) {
            SP_DEVICE_INTERFACE_DATA data{};
            data.cbSize = sizeof data;
            if (!receiver.enumDeviceInterfaces(set, &hidClass, index, &data)) {
                EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
                break;
            }
            alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) char buffer[1024];
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            EXPECT_TRUE(receiver.getDeviceInterfaceDetail(set, &data, detail, sizeof buffer));
            paths.push_back(detail->DevicePath);
        }
        EXPECT_TRUE(receiver.destroyDeviceInfoList(set));
        return paths;
    }

    HANDLE open(const char* path, DWORD flags = 0) {
        return receiver.createFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                   flags);
    }

    // Enumerates until the receiver is plugged in (right after an unplugging
    // the pendant takes a moment before it accepts the next connection), then
    // opens `path`.
    HANDLE openPlugged(const char* path, DWORD flags = 0) {
        for (int attempt = 0; attempt < 20 && enumeratePaths().size() != 2; ++attempt) Sleep(100);
        EXPECT_TRUE(pendant.waitForReceiver(2000));
        HANDLE handle = open(path, flags);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE) << path;
        return handle;
    }

    // Starts an overlapped read that must stay pending.
    void startPendingRead(HANDLE input, BYTE* buffer, OVERLAPPED& overlapped, const ManualEvent& done) {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = done.get();
        SetEvent(done.get());  // a pending read must reset it
        DWORD count = 0;
        ASSERT_EQ(lastError(receiver.readFile(input, buffer, 8, &count, &overlapped)),
                  static_cast<DWORD>(ERROR_IO_PENDING));
        ASSERT_FALSE(done.signalledWithin(0));
    }

    // The result of the overlapped read, waiting for it.
    DWORD readResult(HANDLE input, OVERLAPPED& overlapped) {
        DWORD count = 1;
        if (receiver.getOverlappedResult(input, &overlapped, &count, TRUE)) return count == 8 ? 0 : ~0u;
        EXPECT_EQ(count, 0u);
        return GetLastError();
    }
};

TEST_F(VirtualReceiverTest, PresentsOneReceiverWithAnInputAndAFeatureInterface) {
    std::vector<std::string> paths = enumeratePaths();
    ASSERT_EQ(paths.size(), 2u);
    int inputInterfaces = 0;
    int featureInterfaces = 0;
    for (const std::string& path : paths) {
        HANDLE handle = open(path.c_str());
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        ASSERT_TRUE(receiver.getAttributes(handle, &attributes));
        EXPECT_EQ(attributes.VendorID, 0x10CE);
        EXPECT_EQ(attributes.ProductID, 0xEB99);
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        HIDP_CAPS caps{};
        EXPECT_TRUE(receiver.getPreparsedData(handle, &preparsed));
        EXPECT_EQ(receiver.getCaps(preparsed, &caps), HIDP_STATUS_SUCCESS);
        EXPECT_TRUE(receiver.freePreparsedData(preparsed));
        inputInterfaces += caps.InputReportByteLength == 8 && caps.FeatureReportByteLength == 0;
        featureInterfaces += caps.FeatureReportByteLength == 8 && caps.InputReportByteLength == 0;
        EXPECT_TRUE(receiver.closeHandle(handle));
    }
    EXPECT_EQ(inputInterfaces, 1);
    EXPECT_EQ(featureInterfaces, 1);
}

TEST_F(VirtualReceiverTest, EnumerationChecksTheCallersRecordSizes) {
    GUID hidClass;
    receiver.getHidGuid(&hidClass);
    HDEVINFO set = receiver.getClassDevs(&hidClass, kInterfaces);
    SP_DEVICE_INTERFACE_DATA data{};
    EXPECT_EQ(lastError(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data)),
              static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    data.cbSize = sizeof data;
    ASSERT_TRUE(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data));

    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) char buffer[256];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DATA);  // a common mistake: the wrong record's size
    EXPECT_EQ(lastError(receiver.getDeviceInterfaceDetail(set, &data, detail, sizeof buffer)),
              static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    EXPECT_EQ(lastError(receiver.getDeviceInterfaceDetail(set, &data, detail, 16)),
              static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_TRUE(receiver.getDeviceInterfaceDetail(set, &data, detail, sizeof buffer));
    EXPECT_TRUE(receiver.destroyDeviceInfoList(set));
    EXPECT_FALSE(receiver.destroyDeviceInfoList(set));
}

TEST(VirtualReceiverWithoutPendant, PresentsNoInterfaces) {
    VirtualReceiver receiver("\\\\.\\pipe\\wheelpad-test-nobody-serves-this");
    GUID hidClass;
    receiver.getHidGuid(&hidClass);
    HDEVINFO set = receiver.getClassDevs(&hidClass, kInterfaces);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_EQ(lastError(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data)),
              static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(receiver.createFile(VirtualReceiver::kInputInterfacePath, GENERIC_READ, 0, OPEN_EXISTING, 0),
              INVALID_HANDLE_VALUE);
    receiver.destroyDeviceInfoList(set);
}

TEST_F(VirtualReceiverTest, EachInterfaceServesOnlyItsOwnReports) {
    HANDLE feature = openPlugged(VirtualReceiver::kFeatureInterfacePath);
    HANDLE input = open(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    BYTE buffer[8];
    DWORD count = 0;
    OVERLAPPED overlapped{};
    Report start = kStartReport;
    EXPECT_EQ(lastError(receiver.readFile(feature, buffer, 8, &count, nullptr)),
              static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(lastError(receiver.readFile(input, buffer, 7, &count, &overlapped)),
              static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
    EXPECT_EQ(lastError(receiver.readFile(input, buffer, 8, &count, nullptr)),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(lastError(receiver.setFeature(input, start.data(), 8)),
              static_cast<DWORD>(ERROR_INVALID_FUNCTION));
    EXPECT_FALSE(receiver.getFeature(input, start.data(), 8));
    receiver.closeHandle(input);
    receiver.closeHandle(feature);
}

TEST_F(VirtualReceiverTest, ReadsReturnTheInputReportsInTheOrderTheyWereSent) {
    HANDLE input = openPlugged(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    for (const Report& report : {kKeyReport, kWheelReport}) ASSERT_TRUE(pendant.sendInputReport(report));
    Sleep(100);
    ManualEvent done;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.get();
    Report read{};
    DWORD count = 0;
    for (const Report& expected : {kKeyReport, kWheelReport}) {  // waiting reports complete a read at once
        EXPECT_TRUE(receiver.readFile(input, read.data(), 8, &count, &overlapped));
        EXPECT_TRUE(done.signalledWithin(0));
        EXPECT_EQ(read, expected);
        ResetEvent(done.get());
    }

    startPendingRead(input, read.data(), overlapped, done);
    EXPECT_EQ(lastError(receiver.getOverlappedResult(input, &overlapped, &count, FALSE)),
              static_cast<DWORD>(ERROR_IO_INCOMPLETE));
    ASSERT_TRUE(pendant.sendInputReport(kKnobReport));
    ASSERT_TRUE(done.signalledWithin(2000));
    ASSERT_TRUE(receiver.getOverlappedResult(input, &overlapped, &count, FALSE));
    EXPECT_EQ(count, 8u);
    EXPECT_EQ(read, kKnobReport);
    receiver.closeHandle(input);
}

TEST_F(VirtualReceiverTest, APendingReadEndsOnlyByItsOwnThreadsCancelOrTheHandlesClose) {
    HANDLE input = openPlugged(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report abandoned{};
    startPendingRead(input, abandoned.data(), overlapped, done);
    std::thread([&] { EXPECT_TRUE(receiver.cancelIo(input)); }).join();
    EXPECT_FALSE(done.signalledWithin(50));
    EXPECT_TRUE(receiver.cancelIo(input));
    ASSERT_TRUE(done.signalledWithin(0));
    EXPECT_EQ(readResult(input, overlapped), static_cast<DWORD>(ERROR_OPERATION_ABORTED));

    // The next report goes to the next read, not into the abandoned buffer.
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);
    ASSERT_TRUE(pendant.sendInputReport(kKeyReport));
    EXPECT_EQ(readResult(input, overlapped), 0u);
    EXPECT_EQ(read, kKeyReport);
    EXPECT_EQ(abandoned, Report{});

    startPendingRead(input, read.data(), overlapped, done);
    EXPECT_TRUE(receiver.closeHandle(input));
    ASSERT_TRUE(done.signalledWithin(0));
    EXPECT_EQ(readResult(input, overlapped), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    EXPECT_FALSE(receiver.closeHandle(input));
}

TEST_F(VirtualReceiverTest, FeatureReportsGoToThePendantAndStatusComesBack) {
    pendant.setStatus({12, 34, 0xBEEF, 0x1234});
    HANDLE feature = openPlugged(VirtualReceiver::kFeatureInterfacePath);
    Report start = kStartReport;
    Report piece = {6, 'X', ':', 0xB0, 0xA1, '1', 0x00, 0xFF};
    Report repair = {6, 0xA9, 0xA9, 0x26, 0, 0, 0, 0};
    Report wrongId = {5, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_FALSE(receiver.setFeature(feature, wrongId.data(), 8));
    EXPECT_FALSE(receiver.setFeature(feature, start.data(), 7));
    for (Report report : {start, piece, repair}) EXPECT_TRUE(receiver.setFeature(feature, report.data(), 8));
    ASSERT_TRUE(written.waitFor(3));
    Sleep(50);
    EXPECT_EQ(written.reports(), (std::vector<Report>{start, piece, repair}));

    Report status = {6};
    ASSERT_TRUE(receiver.getFeature(feature, status.data(), 8));
    EXPECT_EQ(status, (Report{6, 12, 34, 0xEF, 0x34, 0xBE, 0x12, 0}));
    pendant.setStatus({1, 2, 0x0003, 0x0400});
    status = {6};
    ASSERT_TRUE(receiver.getFeature(feature, status.data(), 8));
    EXPECT_EQ(status, (Report{6, 1, 2, 0x03, 0x00, 0x00, 0x04, 0}));
    EXPECT_FALSE(receiver.getFeature(feature, status.data(), 4));
    EXPECT_EQ(pendant.statusReads(), 2);
    receiver.closeHandle(feature);
}

TEST_F(VirtualReceiverTest, UnpluggingFailsPendingAndLaterUsesUntilTheNextEnumeration) {
    HANDLE input = openPlugged(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    HANDLE feature = open(VirtualReceiver::kFeatureInterfacePath);
    HANDLE blocking = open(VirtualReceiver::kInputInterfacePath);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);
    DWORD blockingError = 0;
    std::thread reader([&] {
        Report buffer{};
        DWORD count = 0;
        blockingError = lastError(receiver.readFile(blocking, buffer.data(), 8, &count, nullptr));
    });
    Sleep(100);

    pendant.dropReceiver();
    reader.join();
    const DWORD notConnected = ERROR_DEVICE_NOT_CONNECTED;
    EXPECT_EQ(blockingError, notConnected) << "a blocking read ends too";
    ASSERT_TRUE(done.signalledWithin(2000));
    EXPECT_EQ(readResult(input, overlapped), notConnected);
    DWORD count = 0;
    EXPECT_EQ(lastError(receiver.readFile(input, read.data(), 8, &count, &overlapped)), notConnected);
    Report report = kStartReport;
    EXPECT_FALSE(receiver.setFeature(feature, report.data(), 8));
    EXPECT_FALSE(receiver.getFeature(feature, report.data(), 8));
    for (HANDLE handle : {input, feature, blocking}) EXPECT_TRUE(receiver.closeHandle(handle));

    HANDLE again = openPlugged(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    startPendingRead(again, read.data(), overlapped, done);
    ASSERT_TRUE(pendant.sendInputReport(kKeyReport));
    EXPECT_EQ(readResult(again, overlapped), 0u);
    EXPECT_EQ(read, kKeyReport);
    receiver.closeHandle(again);
}

TEST_F(VirtualReceiverTest, AReceiverGoingAwayFailsItsPendingRead) {
    auto other = std::make_unique<VirtualReceiver>(pipeName);
    GUID hidClass;
    other->getHidGuid(&hidClass);
    other->destroyDeviceInfoList(other->getClassDevs(&hidClass, kInterfaces));
    HANDLE input = other->createFile(VirtualReceiver::kInputInterfacePath, GENERIC_READ, 0, OPEN_EXISTING,
                                     FILE_FLAG_OVERLAPPED);
    ASSERT_NE(input, INVALID_HANDLE_VALUE);
    ManualEvent done;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.get();
    BYTE buffer[8];
    ASSERT_EQ(lastError(other->readFile(input, buffer, 8, nullptr, &overlapped)),
              static_cast<DWORD>(ERROR_IO_PENDING));

    other.reset();
    EXPECT_TRUE(done.signalledWithin(0));
    EXPECT_TRUE(HasOverlappedIoCompleted(&overlapped));
}

}  // namespace
