// The polling thread: the order of its calls on active and idle passes, the
// frame built from the values of the pass, and stopping within the bound.
#include "pendant/polling_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/pendant_device.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/virtual_clock.h"

namespace {

// The status exports of ncbridge as seen by the polling thread, with a log of
// the calls.
class ScriptedStatus : public pendant::StatusSource {
public:
    ScriptedStatus() { pendant::installStatusSource(this); }
    ~ScriptedStatus() override {
        pendant::installStatusSource(nullptr);
        if (block_) CloseHandle(block_);
    }

    bool getMaState(HWND mainWindow, int& result) override {
        note(mainWindow == app::state().mainWindow ? "GetMaState" : "GetMaState(other window)");
        result = stateWord;
        return true;
    }
    bool getMaStep(int& result) override {
        note("GetMaStep");
        result = stepWord;
        return true;
    }
    bool getAxisLocation(char* buffer1024, int& result) override {
        note("GetAxisLocation");
        if (block_) WaitForSingleObject(block_, INFINITE);
        if (!hasLocation) return false;
        result = location.empty() ? 0 : 1;
        if (result) std::strcpy(buffer1024, location.c_str());
        return true;
    }

    void note(const std::string& call) {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back(call);
    }
    std::vector<std::string> calls() const {
        std::lock_guard<std::mutex> guard(lock_);
        return calls_;
    }
    void clearCalls() {
        std::lock_guard<std::mutex> guard(lock_);
        calls_.clear();
    }
    // GetAxisLocation from now on never returns.
    void hangInGetAxisLocation() { block_ = CreateEventA(nullptr, TRUE, FALSE, nullptr); }

    int stateWord = 0;
    int stepWord = 0;
    bool hasLocation = true;
    std::string location;  // empty: returns 0, nothing written

private:
    mutable std::mutex lock_;
    std::vector<std::string> calls_;
    HANDLE block_ = nullptr;
};

class PollingThread : public pendant_testing::DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        pendant::resetDisplay();
        pendant::resetPolling();
        app::state().mainWindow = reinterpret_cast<HWND>(0x4321);
        app::state().forceFrame = 0;
        app::state().keyActivity = 0;
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

    // The frame carried by the reports on the wire so far.
    std::string wireText() const {
        std::string text;
        for (const pendant_testing::Report& sent : hid.featureReports()) {
            text.append(reinterpret_cast<const char*>(sent.data()) + 1, 7);
        }
        return text;
    }

    bool waitForCall(const std::string& call, int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            for (const std::string& made : status.calls()) {
                if (made == call) return true;
            }
            Sleep(5);
        }
        return false;
    }

    ScriptedStatus status;
};

const std::vector<std::string> kActivePass = {"GetMaState", "GetMaStep", "GetAxisLocation"};

TEST_F(PollingThread, ActivePassCallsStateStepLocationThenSendsTheirFrame) {
    status.stateWord = 0x0001;
    status.stepWord = 0x00010500;
    status.location = "X:-1.250:1500:12000:";
    EXPECT_TRUE(pendant::pollPass());

    // The frame shows this pass's values, so it was built after the three calls.
    EXPECT_EQ(status.calls(), kActivePass);
    EXPECT_EQ(hid.featureReports().size(), 9u);
    EXPECT_EQ(pendant::statusWords().stateWord, 0x0001u);
    EXPECT_EQ(pendant::statusWords().stepWord, 0x00010500u);
    EXPECT_EQ(wireText().substr(3, 11 + 16 + 16), "    1.5    X:-1.250        F:1500  S:12000 ");
}

TEST_F(PollingThread, StateOfThePassSelectsTheScreen) {
    status.stateWord = 0x1000;
    status.location = "X:-1.250:1500:12000:";
    pendant::pollPass();
    EXPECT_EQ(wireText().substr(14, 16), "    Warning!    ");
}

TEST_F(PollingThread, LocationNotRenewedLeavesTheCoordinateLinesOut) {
    status.location = "Z:3.000:0:0:";
    pendant::pollPass();
    hid.clearFeatureReports();
    status.location = "";
    pendant::pollPass();
    EXPECT_EQ(hid.featureReports().size(), 5u);
    EXPECT_EQ(wireText().substr(3, 27), "    Jog    " + std::string(16, ' '));
}

TEST_F(PollingThread, WithoutGetAxisLocationNoFrameIsBuilt) {
    status.hasLocation = false;
    pendant::pollPass();
    EXPECT_EQ(status.calls(), kActivePass);
    EXPECT_TRUE(hid.featureReports().empty());
}

TEST_F(PollingThread, IdlePassesStillReadTheStateWhileTheLinkIsUp) {
    testing_support::VirtualClock clock;
    status.location = "X:1:2:3:";
    app::state().hostFound = 0;
    EXPECT_TRUE(pendant::pollPass());
    app::state().hostFound = 1;
    app::state().linkEnabled = 0;
    EXPECT_TRUE(pendant::pollPass());
    app::state().linkEnabled = 1;
    pendant::device().connected = 0;
    EXPECT_TRUE(pendant::pollPass());

    EXPECT_EQ(status.calls(), (std::vector<std::string>(3, "GetMaState")));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100, 100, 100}));
}

TEST_F(PollingThread, LinkDownCallsNothing) {
    testing_support::VirtualClock clock;
    status.location = "X:1:2:3:";
    app::state().linkUp = 0;
    EXPECT_TRUE(pendant::pollPass());
    EXPECT_TRUE(status.calls().empty());
    EXPECT_TRUE(hid.featureReports().empty());
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{100}));
}

TEST_F(PollingThread, SignalledEventEndsThePassBeforeAnyRead) {
    const HANDLE refreshEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, "rzlcd");
    ASSERT_NE(refreshEvent, nullptr);
    SetEvent(refreshEvent);
    CloseHandle(refreshEvent);
    EXPECT_FALSE(pendant::pollPass());
    EXPECT_EQ(status.calls(), (std::vector<std::string>{"GetMaState"}));
}

TEST_F(PollingThread, StopWhileWaitingOnTheEventEndsTheThreadAtOnce) {
    status.location = "X:1:2:3:";
    ASSERT_TRUE(pendant::startPolling());
    ASSERT_TRUE(waitForCall("GetAxisLocation", 2000));

    const auto start = std::chrono::steady_clock::now();
    pendant::stopPolling();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(500));
    EXPECT_EQ(pendant::device().connected, 0);

    status.clearCalls();
    Sleep(200);
    EXPECT_TRUE(status.calls().empty()) << "the thread still polls";
    pendant::stopPolling();  // a second stop finds no thread
}

TEST_F(PollingThread, StopWhileIdleEndsTheThreadAfterItsSleep) {
    app::state().hostFound = 0;
    ASSERT_TRUE(pendant::startPolling());
    ASSERT_TRUE(waitForCall("GetMaState", 2000));

    const auto start = std::chrono::steady_clock::now();
    pendant::stopPolling();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    status.clearCalls();
    Sleep(250);
    EXPECT_TRUE(status.calls().empty()) << "the thread still polls";
}

TEST_F(PollingThread, ThreadStuckInACallIsEndedAfterTheBound) {
    status.hangInGetAxisLocation();
    ASSERT_TRUE(pendant::startPolling());
    ASSERT_TRUE(waitForCall("GetAxisLocation", 2000));

    const auto start = std::chrono::steady_clock::now();
    pendant::stopPolling();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(1900));
    EXPECT_LT(took, std::chrono::milliseconds(3000));
    EXPECT_TRUE(hid.featureReports().empty());
}

}  // namespace
