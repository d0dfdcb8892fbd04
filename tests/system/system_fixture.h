#pragma once
// The whole system in separate processes: the stand-in NcStudio program,
// wheelpad.exe with ncbridge.dll (both beside this test program), and the
// stand-in pendant, whose radio side serves the virtual receiver's pipe or
// the virtual receiver device from this process and shows what the display
// receives.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "standin/pendant/display_assembler.h"
#include "standin/pendant/pendant_commands.h"
#include "standin/pendant/pendant_server.h"
#include "standin/pendant/report_repeater.h"
#include "standin/pendant/receiver_transport.h"
#include "tests/support/ncstudio_process.h"

namespace system_testing {

// How soon NcStudio must see a held jog let go once the pendant lets go, the
// link goes or the pendant is locked.
constexpr int kReleaseBoundMs = 300;

// The stand-in pendant: commands in its own language, the display as shown.
class Pendant {
public:
    explicit Pendant(const std::string& pipeName);
    // On the transport `make` makes, handing it this pendant's feature sink.
    using MakeTransport =
        std::function<std::unique_ptr<standin::ReceiverTransport>(standin::ReceiverTransport::FeatureSink)>;
    explicit Pendant(const MakeTransport& make);
    bool start() { return server_->start(); }
    standin::ReceiverTransport& transport() { return *server_; }
    // Sends the input report of one command ("key 12", "axis X", "release",
    // "repeat 35").
    void send(const std::string& command);
    // Ends the receiver's connection as pulling the receiver out would.
    void unplug() { server_->unplug(); }
    // Waits up to `timeoutMs` for wheelpad to open the receiver.
    bool waitForReceiver(DWORD timeoutMs) { return server_->waitForReceiver(timeoutMs); }
    // Waits up to `timeoutMs` for a display frame that holds `text`.
    bool waitForDisplay(const std::string& text, DWORD timeoutMs);
    int frames() const;
    // Every feature report the receiver was sent, in order.
    std::vector<standin::Report> written() const;

private:
    void onFeatureReport(const standin::Report& report);

    std::unique_ptr<standin::ReceiverTransport> server_;
    standin::PendantControls controls_;
    standin::ReportRepeater repeater_;
    mutable std::mutex lock_;
    standin::DisplayAssembler assembler_;
    std::string shown_;  // the lines of the last frame
    int frames_ = 0;
    std::vector<standin::Report> written_;
};

// wheelpad.exe started with the virtual receiver on `pipeName`, or as a user
// starts it (no pipe: it looks for the receiver among the HID devices).
class WheelpadProcess {
public:
    explicit WheelpadProcess(const std::string& pipeName);
    ~WheelpadProcess();
    WheelpadProcess(const WheelpadProcess&) = delete;
    WheelpadProcess& operator=(const WheelpadProcess&) = delete;

    // Its main dialog, waiting up to `timeoutMs`; 0 when none came.
    HWND mainWindow(DWORD timeoutMs = 10000) const;
    // Its top-level window whose title holds `titlePart`, waiting up to `timeoutMs`.
    HWND window(const std::string& titlePart, DWORD timeoutMs) const;
    void post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Its open handles and its threads.
    DWORD handleCount() const;
    int threadCount() const;
    DWORD waitForExit(DWORD timeoutMs);

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Milliseconds since midnight, local time, as the NcStudio log stamps lines.
int nowMs();
// The stamp of the first log line at or after `fromMs` that holds `text`;
// -1 when there is none.
int loggedAt(const std::string& log, const std::string& text, int fromMs);
int countOf(const std::string& log, const std::string& text);

class SystemTest : public ::testing::Test {
protected:
    // The pendant on the virtual receiver's pipe, or on the transport `make` makes.
    SystemTest() : pendant{pipeName} {}
    explicit SystemTest(const Pendant::MakeTransport& make) : pendant{make} {}

    static std::string freshPipeName();

    // Waits until NcStudio's main window is maximised: wheelpad bound it.
    static bool waitUntilBound(HWND ncstudioMain, DWORD timeoutMs);

    // With a continuous jog on X held, runs `path`; the milliseconds until
    // NcStudio let go of the jog button, -1 when it did not within 2 s.
    template <typename Path>
    int jogReleaseDelay(testing_support::NcStudioProcess& ncstudio, Path path) {
        const int held = countOf(ncstudio.log(), "jogging X+");
        pendant.send("key 12");
        if (!waitForCount(ncstudio, "jogging X+", held + 1)) return -2;
        const int start = nowMs();
        path();
        if (!waitForCount(ncstudio, "jog ended: X", held + 1)) return -1;
        return loggedAt(ncstudio.log(), "jog ended: X", start) - start;
    }

    // With a continuous jog on X held, runs `path`: NcStudio must see the jog
    // let go within `boundMs`.
    template <typename Path>
    ::testing::AssertionResult jogLetGoWithin(testing_support::NcStudioProcess& ncstudio, Path path, int boundMs) {
        const int delay = jogReleaseDelay(ncstudio, path);
        if (delay == -2) return ::testing::AssertionFailure() << "the jog never started";
        if (delay == -1) return ::testing::AssertionFailure() << "NcStudio never saw the jog let go";
        if (delay >= boundMs) return ::testing::AssertionFailure() << "let go after " << delay << " ms";
        return ::testing::AssertionSuccess();
    }

    static bool waitForCount(const testing_support::NcStudioProcess& ncstudio, const std::string& text, int count,
                             DWORD timeoutMs = 2000);

    const std::string pipeName = freshPipeName();
    Pendant pendant;
};

// NcStudio started and brought to the front, wheelpad bound to it, the
// axis knob on X and the jog buttons taken over by a first turn of the wheel.
class Running : public SystemTest {
protected:
    void startAll(int generation);

    // What NcStudio went through, when something went wrong.
    void TearDown() override;

    std::unique_ptr<testing_support::NcStudioProcess> ncstudio;
    std::unique_ptr<WheelpadProcess> wheelpad;
};

}  // namespace system_testing
