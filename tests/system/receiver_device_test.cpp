// wheelpad.exe as a user starts it (no WHEELPAD_RECEIVER) on the virtual
// receiver device inside Wine's HID stack: its own SetupAPI and HID path
// finds the receiver behind many other HID devices, reads its keys, writes
// its frames, reads its status, and lives through the receiver being
// unplugged and plugged in again.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/resources/resource_ids.h"
#include "standin/pendant/device_transport.h"
#include "tests/system/system_fixture.h"

namespace {

using standin::Report;
using system_testing::kReleaseBoundMs;
using system_testing::SystemTest;
using system_testing::WheelpadProcess;
using testing_support::NcStudioProcess;

// More HID interfaces before the receiver's than an enumeration that stops
// at 25 ever looks at; their vendor sorts before the receiver's.
constexpr ULONG kOtherDevices = 40;

bool holds(const std::vector<Report>& reports, const Report& wanted) {
    return std::find(reports.begin(), reports.end(), wanted) != reports.end();
}

std::string controlText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class OnTheDevice : public SystemTest {
protected:
    OnTheDevice()
        : SystemTest([](standin::ReceiverTransport::FeatureSink sink) {
              return std::make_unique<standin::DeviceTransport>(kOtherDevices, std::move(sink));
          }) {}

    void SetUp() override {
        if (!pendant.start()) {
            if (!static_cast<standin::DeviceTransport&>(pendant.transport()).busLoaded())
                GTEST_SKIP() << "The virtual receiver device is not loaded in this Wine prefix "
                                "(scripts/receiver-device.sh says why); the pipe's tests cover the link.";
            FAIL() << "the receiver and the other devices could not be plugged in";
        }
        ncstudio = std::make_unique<NcStudioProcess>(8, "--inactive");
        ASSERT_NE(ncstudio->mainWindow(), nullptr);
    }

    void startWheelpad() {
        wheelpad = std::make_unique<WheelpadProcess>("");
        ASSERT_NE(wheelpad->mainWindow(), nullptr);
    }

    // Bound and mapped: the display shows X.
    void bindAndShowX() {
        ncstudio->command("front");
        ASSERT_TRUE(waitUntilBound(ncstudio->mainWindow(), 5000));
        ncstudio->command("front");
        pendant.send("axis X");
        ASSERT_TRUE(pendant.waitForDisplay("X:", 5000));
    }

    void TearDown() override {
        if (HasFailure() && ncstudio) std::printf("NcStudio's log:\n%s\n", ncstudio->log().c_str());
    }

    std::unique_ptr<NcStudioProcess> ncstudio;
    std::unique_ptr<WheelpadProcess> wheelpad;
};

TEST_F(OnTheDevice, FoundBehindOtherDevicesItReadsKeysSendsFramesAndReadsTheStatus) {
    pendant.transport().setStatus({11, 22, 0x1234, 0x5678});
    ASSERT_NO_FATAL_FAILURE(startWheelpad());
    ASSERT_TRUE(pendant.transport().waitForReceiver(5000)) << "the receiver is never opened";
    SYSTEMTIME now;
    GetSystemTime(&now);
    const BYTE day = static_cast<BYTE>(now.wDay);
    EXPECT_EQ(pendant.written().at(0), (Report{0x06, 0xFE, 0xFD, day, 0x20, 0x20, 0x20, 0x20}))
        << "the start report comes first";

    ASSERT_NO_FATAL_FAILURE(bindAndShowX());
    EXPECT_TRUE(pendant.waitForDisplay("X:12.500", 2000));
    pendant.send("wheel 1");
    pendant.send("release");
    EXPECT_TRUE(ncstudio->waitForLog("received: click on \"X+\""));
    EXPECT_TRUE(pendant.waitForDisplay("X:12.510", 2000));
    for (const Report& report : pendant.written()) ASSERT_EQ(report[0], 0x06) << "every report is feature report 6";

    // The device status dialog reads the receiver's status; its handwheel
    // button sends the re-pair command.
    wheelpad->post(WM_COMMAND, ID_MATE);
    HWND dialog = wheelpad->window("设备状态", 5000);
    ASSERT_NE(dialog, nullptr);
    std::string status;
    for (int wait = 0; wait < 40 && status.find("ID:1234") == std::string::npos; ++wait, Sleep(50))
        status = controlText(dialog, IDC_STATUS_TEXT);
    EXPECT_NE(status.find(": 11"), std::string::npos) << status;
    EXPECT_NE(status.find(": 22"), std::string::npos) << status;
    EXPECT_NE(status.find("ID:1234"), std::string::npos) << status;
    EXPECT_NE(status.find("ID:5678"), std::string::npos) << status;
    PostMessageA(dialog, WM_COMMAND, IDC_REPAIR_HANDWHEEL, 0);
    const Report repair{0x06, 0xA9, 0xA9, 0x26, 0, 0, 0, 0};
    for (int wait = 0; wait < 40 && !holds(pendant.written(), repair); ++wait) Sleep(50);
    EXPECT_TRUE(holds(pendant.written(), repair));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Absent at start, plugged in later, pulled out while a continuous jog is
// held (the jog is let go), plugged in again: the display is updated again,
// and a key's chord (key 11: Ctrl+Home) still holds Ctrl.
TEST_F(OnTheDevice, PluggedInLaterPulledOutUnderAHeldJogAndPluggedInAgain) {
    ASSERT_TRUE(pendant.transport().unplug());
    ASSERT_NO_FATAL_FAILURE(startWheelpad());
    ncstudio->command("front");
    EXPECT_FALSE(waitUntilBound(ncstudio->mainWindow(), 1500)) << "no binding without a receiver";

    ASSERT_TRUE(pendant.transport().plug());
    ASSERT_TRUE(pendant.transport().waitForReceiver(5000)) << "the receiver plugged in is not opened";
    ASSERT_NO_FATAL_FAILURE(bindAndShowX());
    pendant.send("wheel 1");
    pendant.send("release");
    ASSERT_TRUE(ncstudio->waitForLog("received: click on \"X+\""));
    Sleep(1000);

    EXPECT_TRUE(jogLetGoWithin(*ncstudio, [&] { pendant.transport().unplug(); }, kReleaseBoundMs));
    ASSERT_TRUE(pendant.transport().plug());
    ASSERT_TRUE(pendant.transport().waitForReceiver(5000)) << "the receiver plugged in again is not opened";
    // Each of its interfaces arrives with a device change of its own, and
    // each makes wheelpad close and reopen the receiver once more.
    Sleep(1500);
    const int frames = pendant.frames();
    Sleep(500);
    EXPECT_GT(pendant.frames(), frames) << "the display is updated again";
    pendant.send("key 11");
    pendant.send("release");
    EXPECT_TRUE(ncstudio->waitForLog("key down Ctrl+Home")) << "the reader thread joined NcStudio's input afresh";
}

// Unplug and replug cycles through the real HID stack: wheelpad's handles
// and threads stay flat. A few cycles in the suite; the soak run by hand:
// WHEELPAD_DEVICE_SOAK_CYCLES=1000.
TEST_F(OnTheDevice, UnplugAndReplugCyclesKeepHandlesAndThreadsFlat) {
    const char* asked = std::getenv("WHEELPAD_DEVICE_SOAK_CYCLES");
    const int cycles = asked ? std::atoi(asked) : 6;
    const int warmUp = std::min(100, cycles / 2);
    ASSERT_NO_FATAL_FAILURE(startWheelpad());
    ASSERT_TRUE(pendant.transport().waitForReceiver(5000));
    DWORD handles = 0;
    int threads = 0;
    const DWORD start = GetTickCount();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        ASSERT_TRUE(pendant.transport().unplug()) << "cycle " << cycle;
        ASSERT_TRUE(pendant.transport().plug()) << "cycle " << cycle;
        ASSERT_TRUE(pendant.transport().waitForReceiver(5000)) << "not reopened in cycle " << cycle;
        if (cycle == warmUp || cycle % 100 == 0) {
            Sleep(1500);  // the reopens of both interfaces' arrivals are done
            std::printf("cycle %d: %lu handles, %d threads, %lu ms a cycle\n", cycle, wheelpad->handleCount(),
                        wheelpad->threadCount(), (GetTickCount() - start) / cycle);
        }
        if (cycle == warmUp) {
            handles = wheelpad->handleCount();
            threads = wheelpad->threadCount();
        }
    }
    Sleep(1500);
    EXPECT_LE(wheelpad->handleCount(), handles + 2);
    EXPECT_LE(wheelpad->threadCount(), threads);
}

}  // namespace
