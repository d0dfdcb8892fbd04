// The polling thread: the order of its calls on active and idle passes, the
// frame built from the values of the pass, and stopping within the bound.
#include "pendant/polling_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/virtual_clock.h"

namespace {

using Calls = std::vector<std::string>;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

// ncbridge's status exports as the polling thread sees them, with a log.
class ScriptedStatus : public pendant::StatusSource {
public:
    ScriptedStatus() { pendant::installStatusSource(this); }
    ~ScriptedStatus() override { pendant::installStatusSource(nullptr); }

    void loadBridge() override { note("LoadBridge"); }
    bool getMaState(HWND mainWindow, int& result) override {
        note(mainWindow == app::state().mainWindow ? "GetMaState" : "GetMaState(wrong window)");
        result = 0x0001;
        return true;
    }
    bool getMaStep(int& result) override {
        note("GetMaStep");
        result = 0x00010500;
        return true;
    }
    bool getAxisLocation(char* buffer1024, int& result) override {
        note("GetAxisLocation");
        if (hang) WaitForSingleObject(hang, INFINITE);
        std::strcpy(buffer1024, "X:-1.250:1500:12000:");
        result = locationResult;
        return hasLocation;
    }

    Calls calls() const {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_;
    }
    void clear() {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.clear();
    }

    bool hasLocation = true;
    int locationResult = 1;
    HANDLE hang = nullptr;  // while set, GetAxisLocation waits on it

private:
    void note(const char* call) {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back(call);
    }

    mutable std::mutex lock_;
    Calls calls_;
};

class PollingThread : public pendant_testing::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        pendant::resetDisplay();
        pendant::resetPolling();
        app::state().mainWindow = reinterpret_cast<HWND>(0x4321);
        app::state().hostFound = 1;
        openReceiver();
        app::state().linkUp = 1;
        ASSERT_TRUE(pendant::createRefreshEvent());
        hid.clearFeatureReports();
    }

    void TearDown() override {
        pendant::stopPolling();
        pendant::closeRefreshEvent();
        app::state().hostFound = 0;
        DeviceTest::TearDown();
    }

    // Starts the thread and waits until it has reached GetAxisLocation.
    void startAndAwaitLocation() {
        ASSERT_TRUE(pendant::startPolling());
        for (int i = 0; i < 200 && !reachedLocation(); ++i) Sleep(10);
        ASSERT_TRUE(reachedLocation());
    }

    bool reachedLocation() const {
        const Calls calls = status.calls();
        return std::find(calls.begin(), calls.end(), "GetAxisLocation") != calls.end();
    }

    // How long stopPolling took; the thread must make no call afterwards.
    milliseconds stop() {
        const auto start = steady_clock::now();
        pendant::stopPolling();
        const auto took = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
        status.clear();
        Sleep(150);
        EXPECT_TRUE(status.calls().empty()) << "the thread still polls";
        return took;
    }

    ScriptedStatus status;
};

TEST_F(PollingThread, ActivePassReadsStateStepAndLocationThenSendsTheirFrame) {
    EXPECT_TRUE(pendant::pollPass());
    EXPECT_EQ(status.calls(), (Calls{"LoadBridge", "GetMaState", "GetMaStep", "GetAxisLocation"}));
    EXPECT_EQ(pendant_testing::payloadOf(hid.featureReports()).substr(3, 43),
              "    1.5    X:-1.250        F:1500  S:12000 ");

    status.locationResult = 0;  // the text read last was consumed by the build
    hid.clearFeatureReports();
    pendant::pollPass();
    EXPECT_EQ(pendant_testing::payloadOf(hid.featureReports()),
              std::string("\xFE\xFD") + static_cast<char>(pendant::currentDayByte()) + "    1.5    " +
                  std::string(16, ' ') + std::string(5, '\0'));

    status.hasLocation = false;  // without GetAxisLocation no frame is built
    hid.clearFeatureReports();
    pendant::pollPass();
    EXPECT_TRUE(hid.featureReports().empty());
}

TEST_F(PollingThread, InactivePassesSleepAndReadOnlyTheStateWhileTheLinkIsUp) {
    testing_support::VirtualClock clock;
    app::state().hostFound = 0;
    pendant::pollPass();
    app::state().hostFound = 1;
    app::state().linkEnabled = 0;
    pendant::pollPass();
    app::state().linkUp = 0;
    pendant::pollPass();
    // The library load is tried on every pass, also with the link down.
    EXPECT_EQ(status.calls(),
              (Calls{"LoadBridge", "GetMaState", "LoadBridge", "GetMaState", "LoadBridge"}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 100, 100}));
    EXPECT_TRUE(hid.featureReports().empty());
}

TEST_F(PollingThread, StopEndsAThreadWaitingOnTheEventAtOnceAndClosesTheReceiver) {
    startAndAwaitLocation();
    EXPECT_LT(stop(), milliseconds(500));
    EXPECT_EQ(pendant::device().connected, 0);
    pendant::stopPolling();  // a second stop finds no thread
}

TEST_F(PollingThread, StopEndsAThreadStuckInACallAfterTheBound) {
    status.hang = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    startAndAwaitLocation();
    const milliseconds took = stop();
    EXPECT_GE(took, milliseconds(1900));
    EXPECT_LT(took, milliseconds(3000));
    CloseHandle(status.hang);
}

}  // namespace
