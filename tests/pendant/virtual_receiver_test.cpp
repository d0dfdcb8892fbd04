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

class ManualEvent {
public:
    ManualEvent() : handle_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~ManualEvent() { CloseHandle(handle_); }
    HANDLE get() const { return handle_; }
    bool signalledWithin(DWORD ms) const { return WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0; }

private:
    HANDLE handle_;
};

class VirtualReceiverTest : public testing_support::PendantPipeFixture {
protected:
    std::vector<std::string> enumeratePaths() {
        GUID hidClass;
        receiver.getHidGuid(&hidClass);
        HDEVINFO set = receiver.getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        std::vector<std::string> paths;
        for (DWORD index = 0;; ++index) {
            SP_DEVICE_INTERFACE_DATA data{};
            data.cbSize = sizeof data;
            if (!receiver.enumDeviceInterfaces(set, &hidClass, index, &data)) {
                EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), GetLastError());
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

    // Enumerates until the receiver is plugged in: right after an unplugging
    // the pendant takes a moment before it accepts the next connection.
    void plugIn() {
        for (int attempt = 0; attempt < 20 && enumeratePaths().size() != 2; ++attempt) Sleep(100);
        ASSERT_TRUE(pendant.waitForReceiver(2000));
    }

    HANDLE openInput(DWORD flags) {
        plugIn();
        return open(VirtualReceiver::kInputInterfacePath, flags);
    }

    HANDLE openFeature() {
        plugIn();
        return open(VirtualReceiver::kFeatureInterfacePath);
    }

    HIDP_CAPS capsOf(HANDLE handle) {
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        HIDP_CAPS caps{};
        EXPECT_TRUE(receiver.getPreparsedData(handle, &preparsed));
        EXPECT_EQ(HIDP_STATUS_SUCCESS, receiver.getCaps(preparsed, &caps));
        EXPECT_TRUE(receiver.freePreparsedData(preparsed));
        return caps;
    }

    // Starts an overlapped read that must stay pending.
    void startPendingRead(HANDLE input, BYTE* buffer, OVERLAPPED& overlapped, const ManualEvent& done) {
        overlapped = OVERLAPPED{};
        overlapped.hEvent = done.get();
        SetEvent(done.get());  // a pending read must reset it
        DWORD count = 0;
        ASSERT_FALSE(receiver.readFile(input, buffer, 8, &count, &overlapped));
        ASSERT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), GetLastError());
        ASSERT_FALSE(done.signalledWithin(0));
    }
};

const Report kKeyReport = {4, 0, 7, 0, 13, 17, 0, 0};
const Report kWheelReport = {4, 0, 0, 0, 13, 17, 0xFD, 0};
const Report kKnobReport = {4, 0, 0, 0, 155, 19, 0, 0};

TEST_F(VirtualReceiverTest, PresentsOneReceiverWithAnInputAndAFeatureInterface) {
    std::vector<std::string> paths = enumeratePaths();
    ASSERT_EQ(2u, paths.size());

    int inputInterfaces = 0;
    int featureInterfaces = 0;
    for (const std::string& path : paths) {
        HANDLE handle = open(path.c_str());
        ASSERT_NE(INVALID_HANDLE_VALUE, handle) << path;
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        ASSERT_TRUE(receiver.getAttributes(handle, &attributes));
        EXPECT_EQ(0x10CE, attributes.VendorID);
        EXPECT_EQ(0xEB99, attributes.ProductID);
        HIDP_CAPS caps = capsOf(handle);
        if (caps.InputReportByteLength == 8 && caps.FeatureReportByteLength == 0) ++inputInterfaces;
        if (caps.FeatureReportByteLength == 8 && caps.InputReportByteLength == 0) ++featureInterfaces;
        EXPECT_TRUE(receiver.closeHandle(handle));
    }
    EXPECT_EQ(1, inputInterfaces);
    EXPECT_EQ(1, featureInterfaces);
}

TEST_F(VirtualReceiverTest, EnumerationChecksTheCallersRecordSizes) {
    GUID hidClass;
    receiver.getHidGuid(&hidClass);
    HDEVINFO set = receiver.getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVICE_INTERFACE_DATA data{};
    EXPECT_FALSE(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    data.cbSize = sizeof data;
    ASSERT_TRUE(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data));

    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) char buffer[256];
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DATA);  // a common mistake: the wrong record's size
    EXPECT_FALSE(receiver.getDeviceInterfaceDetail(set, &data, detail, sizeof buffer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    EXPECT_FALSE(receiver.getDeviceInterfaceDetail(set, &data, detail, 16));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_TRUE(receiver.getDeviceInterfaceDetail(set, &data, detail, sizeof buffer));
    EXPECT_TRUE(receiver.destroyDeviceInfoList(set));
    EXPECT_FALSE(receiver.destroyDeviceInfoList(set));
}

TEST(VirtualReceiverWithoutPendant, PresentsNoInterfaces) {
    VirtualReceiver receiver("\\\\.\\pipe\\wheelpad-test-nobody-serves-this");
    GUID hidClass;
    receiver.getHidGuid(&hidClass);
    HDEVINFO set = receiver.getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    SP_DEVICE_INTERFACE_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_FALSE(receiver.enumDeviceInterfaces(set, &hidClass, 0, &data));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              receiver.createFile(VirtualReceiver::kInputInterfacePath, GENERIC_READ, 0, OPEN_EXISTING, 0));
    receiver.destroyDeviceInfoList(set);
}

TEST_F(VirtualReceiverTest, InputReportsAreReadInTheOrderTheyWereSent) {
    HANDLE input = openInput(0);
    ASSERT_NE(INVALID_HANDLE_VALUE, input);
    for (const Report& report : {kKeyReport, kWheelReport, kKnobReport}) ASSERT_TRUE(pendant.sendInputReport(report));

    for (const Report& expected : {kKeyReport, kWheelReport, kKnobReport}) {
        Report read{};
        DWORD count = 0;
        ASSERT_TRUE(receiver.readFile(input, read.data(), 8, &count, nullptr));
        EXPECT_EQ(8u, count);
        EXPECT_EQ(expected, read);
    }
    receiver.closeHandle(input);
}

TEST_F(VirtualReceiverTest, EachInterfaceServesOnlyItsOwnReports) {
    HANDLE feature = openFeature();
    HANDLE input = open(VirtualReceiver::kInputInterfacePath, FILE_FLAG_OVERLAPPED);
    BYTE buffer[8];
    DWORD count = 0;
    EXPECT_FALSE(receiver.readFile(feature, buffer, 8, &count, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FUNCTION), GetLastError());
    OVERLAPPED overlapped{};
    EXPECT_FALSE(receiver.readFile(input, buffer, 7, &count, &overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_USER_BUFFER), GetLastError());
    EXPECT_FALSE(receiver.readFile(input, buffer, 8, &count, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    Report start = {6, 0xFE, 0xFD, 7, 0x20, 0x20, 0x20, 0x20};
    EXPECT_FALSE(receiver.setFeature(input, start.data(), 8));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_FUNCTION), GetLastError());
    EXPECT_FALSE(receiver.getFeature(input, start.data(), 8));
    receiver.closeHandle(input);
    receiver.closeHandle(feature);
}

TEST_F(VirtualReceiverTest, OverlappedReadCompletesWhenAReportArrives) {
    HANDLE input = openInput(FILE_FLAG_OVERLAPPED);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);
    DWORD count = 0;
    EXPECT_FALSE(receiver.getOverlappedResult(input, &overlapped, &count, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IO_INCOMPLETE), GetLastError());

    ASSERT_TRUE(pendant.sendInputReport(kWheelReport));
    ASSERT_TRUE(done.signalledWithin(2000));
    ASSERT_TRUE(receiver.getOverlappedResult(input, &overlapped, &count, FALSE));
    EXPECT_EQ(8u, count);
    EXPECT_EQ(kWheelReport, read);

    // A report already waiting completes the read at once.
    ASSERT_TRUE(pendant.sendInputReport(kKnobReport));
    Sleep(100);
    overlapped = OVERLAPPED{};
    overlapped.hEvent = done.get();
    ResetEvent(done.get());
    EXPECT_TRUE(receiver.readFile(input, read.data(), 8, &count, &overlapped));
    EXPECT_TRUE(done.signalledWithin(0));
    EXPECT_EQ(kKnobReport, read);
    receiver.closeHandle(input);
}

TEST_F(VirtualReceiverTest, CancelIoAbortsOnlyTheCallingThreadsPendingRead) {
    HANDLE input = openInput(FILE_FLAG_OVERLAPPED);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report abandoned{};
    startPendingRead(input, abandoned.data(), overlapped, done);

    std::thread([&] { EXPECT_TRUE(receiver.cancelIo(input)); }).join();
    EXPECT_FALSE(done.signalledWithin(50));

    EXPECT_TRUE(receiver.cancelIo(input));
    ASSERT_TRUE(done.signalledWithin(0));
    DWORD count = 1;
    EXPECT_FALSE(receiver.getOverlappedResult(input, &overlapped, &count, TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), GetLastError());
    EXPECT_EQ(0u, count);

    // The next report goes to the next read, not into the abandoned buffer.
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);
    ASSERT_TRUE(pendant.sendInputReport(kKeyReport));
    ASSERT_TRUE(done.signalledWithin(2000));
    EXPECT_TRUE(receiver.getOverlappedResult(input, &overlapped, &count, TRUE));
    EXPECT_EQ(kKeyReport, read);
    EXPECT_EQ(Report{}, abandoned);
    receiver.closeHandle(input);
}

TEST_F(VirtualReceiverTest, ClosingTheHandleEndsItsPendingRead) {
    HANDLE input = openInput(FILE_FLAG_OVERLAPPED);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);
    EXPECT_TRUE(receiver.closeHandle(input));
    ASSERT_TRUE(done.signalledWithin(0));
    DWORD count = 0;
    EXPECT_FALSE(receiver.getOverlappedResult(input, &overlapped, &count, TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), GetLastError());
    EXPECT_FALSE(receiver.closeHandle(input));
}

TEST_F(VirtualReceiverTest, FeatureReportsWrittenReachThePendantByteForByte) {
    HANDLE feature = openFeature();
    ASSERT_NE(INVALID_HANDLE_VALUE, feature);
    Report start = {6, 0xFE, 0xFD, 7, 0x20, 0x20, 0x20, 0x20};
    Report piece = {6, 'X', ':', 0xB0, 0xA1, '1', 0x00, 0xFF};
    Report repair = {6, 0xA9, 0xA9, 0x26, 0, 0, 0, 0};
    Report wrongId = {5, 1, 2, 3, 4, 5, 6, 7};

    EXPECT_FALSE(receiver.setFeature(feature, wrongId.data(), 8));
    EXPECT_FALSE(receiver.setFeature(feature, start.data(), 7));
    for (Report report : {start, piece, repair}) EXPECT_TRUE(receiver.setFeature(feature, report.data(), 8));

    ASSERT_TRUE(written.waitFor(3));
    Sleep(50);
    EXPECT_EQ((std::vector<Report>{start, piece, repair}), written.reports());
    receiver.closeHandle(feature);
}

TEST_F(VirtualReceiverTest, FeatureReadsAnswerWithThePendantsChannelsAndIds) {
    pendant.setStatus({12, 34, 0xBEEF, 0x1234});
    HANDLE feature = openFeature();
    Report status = {6};
    ASSERT_TRUE(receiver.getFeature(feature, status.data(), 8));
    EXPECT_EQ((Report{6, 12, 34, 0xEF, 0x34, 0xBE, 0x12, 0}), status);

    pendant.setStatus({1, 2, 0x0003, 0x0400});
    status = {6};
    ASSERT_TRUE(receiver.getFeature(feature, status.data(), 8));
    EXPECT_EQ((Report{6, 1, 2, 0x03, 0x00, 0x00, 0x04, 0}), status);
    EXPECT_EQ(2, pendant.statusReads());

    status = {6};
    EXPECT_FALSE(receiver.getFeature(feature, status.data(), 4));
    EXPECT_EQ(2, pendant.statusReads());
    receiver.closeHandle(feature);
}

TEST_F(VirtualReceiverTest, UnpluggingFailsThePendingReadAndEveryLaterUseOfTheHandles) {
    HANDLE input = openInput(FILE_FLAG_OVERLAPPED);
    HANDLE feature = open(VirtualReceiver::kFeatureInterfacePath);
    ManualEvent done;
    OVERLAPPED overlapped;
    Report read{};
    startPendingRead(input, read.data(), overlapped, done);

    pendant.dropReceiver();
    ASSERT_TRUE(done.signalledWithin(2000));
    DWORD count = 0;
    EXPECT_FALSE(receiver.getOverlappedResult(input, &overlapped, &count, TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED), GetLastError());

    EXPECT_FALSE(receiver.readFile(input, read.data(), 8, &count, &overlapped));
    EXPECT_EQ(static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED), GetLastError());
    Report start = {6, 0xFE, 0xFD, 7, 0x20, 0x20, 0x20, 0x20};
    EXPECT_FALSE(receiver.setFeature(feature, start.data(), 8));
    Report status = {6};
    EXPECT_FALSE(receiver.getFeature(feature, status.data(), 8));
    EXPECT_TRUE(receiver.closeHandle(input));
    EXPECT_TRUE(receiver.closeHandle(feature));

    // Plugged in again: the next enumeration connects anew.
    HANDLE again = openInput(FILE_FLAG_OVERLAPPED);
    ASSERT_NE(INVALID_HANDLE_VALUE, again);
    startPendingRead(again, read.data(), overlapped, done);
    ASSERT_TRUE(pendant.sendInputReport(kKeyReport));
    EXPECT_TRUE(receiver.getOverlappedResult(again, &overlapped, &count, TRUE));
    EXPECT_EQ(kKeyReport, read);
    receiver.closeHandle(again);
}

TEST_F(VirtualReceiverTest, UnpluggingEndsABlockingRead) {
    HANDLE input = openInput(0);
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread reader([&] {
        Report read{};
        DWORD count = 0;
        result = receiver.readFile(input, read.data(), 8, &count, nullptr);
        error = GetLastError();
    });
    Sleep(100);
    pendant.dropReceiver();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED), error);
    receiver.closeHandle(input);
}

TEST_F(VirtualReceiverTest, AReceiverGoingAwayFailsItsPendingRead) {
    auto other = std::make_unique<VirtualReceiver>(pipeName);
    GUID hidClass;
    other->getHidGuid(&hidClass);
    other->destroyDeviceInfoList(other->getClassDevs(&hidClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    HANDLE input = other->createFile(VirtualReceiver::kInputInterfacePath, GENERIC_READ, 0, OPEN_EXISTING,
                                     FILE_FLAG_OVERLAPPED);
    ASSERT_NE(INVALID_HANDLE_VALUE, input);
    ManualEvent done;
    OVERLAPPED overlapped{};
    overlapped.hEvent = done.get();
    BYTE buffer[8];
    ASSERT_FALSE(other->readFile(input, buffer, 8, nullptr, &overlapped));
    ASSERT_EQ(static_cast<DWORD>(ERROR_IO_PENDING), GetLastError());

    other.reset();
    EXPECT_TRUE(done.signalledWithin(0));
    EXPECT_TRUE(HasOverlappedIoCompleted(&overlapped));
}

}  // namespace
