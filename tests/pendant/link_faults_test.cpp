// The pendant link under faults, end to end: the stand-in pendant on the
// virtual receiver's pipe, wheelpad's reader and polling threads, the real
// ncbridge.dll, and a stand-in NcStudio (generation 2) whose windows record
// what reaches them. Real time throughout.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "standin/session/session_ncstudio.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace {

using standin::Received;
using standin::Report;

constexpr BYTE kAxisX = 17;

// An input report: keys, the axis knob on X, the rate knob on no position
// (the Feedrate dialog stays shut), no wheel count.
Report keyReport(BYTE key) { return Report{4, 0, key, 0, 0, kAxisX, 0, 0}; }

class LinkFaults : public testing_support::PendantPipeFixture {
protected:
    void SetUp() override {
        PendantPipeFixture::SetUp();
        pendant::installHid(&receiver);
        app::ProcessState& state = app::state();
        state.linkEnabled = 1;
        state.linkUp = pendant::device().openDevice(nullptr);
        ASSERT_EQ(state.linkUp, 1);
        ASSERT_TRUE(standin::bindNcStudio(ncstudio.main, host.threadId()));
        state.hostWindow = ncstudio.main;
        pendant::resetPolling();
        ASSERT_TRUE(pendant::createRefreshEvent());
        ASSERT_TRUE(pendant::startPolling());
        // The first polls (the start report and a frame of at least five
        // pieces, then a few more): NcStudio idle, the step as it shows it,
        // the feed button found.
        ASSERT_TRUE(written.waitFor(6));
        Sleep(300);
        host.clearReceived();
    }

    void TearDown() override {
        pendant::stopPolling();
        pendant::closeRefreshEvent();
        app::freeBridge();
        pendant::installHid(nullptr);
        app::ProcessState& state = app::state();
        state.hostFound = 0;
        state.hostThreadId = 0;
        state.hostWindow = nullptr;
        state.attachedThreadId = 0;
        state.linkUp = 0;
        state.lastWheelDelta = 0;
        state.lastKeyWord = 0;
    }

    void send(const Report& report) { ASSERT_TRUE(pendant.sendInputReport(report)); }

    // Waits up to `timeoutMs` for the `count`th message that `matches`.
    bool waitFor(const std::function<bool(const Received&)>& matches, size_t count, DWORD timeoutMs,
                 Received* found = nullptr) {
        for (DWORD waited = 0;; waited += 10) {
            size_t seen = 0;
            for (const Received& r : host.received()) {
                if (!matches(r) || ++seen < count) continue;
                if (found) *found = r;
                return true;
            }
            if (waited >= timeoutMs) return false;
            Sleep(10);
        }
    }

    std::function<bool(const Received&)> onX(UINT message) {
        HWND xPlus = ncstudio.jogButton("X+");
        return [xPlus, message](const Received& r) { return r.window == xPlus && r.message == message; };
    }

    // Key 12 held: "X+" pressed in NcStudio.
    void holdKey12() {
        send(keyReport(12));
        ASSERT_TRUE(waitFor(onX(WM_LBUTTONDOWN), 1, 2000)) << "X+ was never pressed";
        Sleep(300);  // a few polls: the step reads back as NcStudio shows it (0.05 mm)
    }

    standin::HostThread host;
    standin::SessionNcStudio ncstudio{host};
};

TEST_F(LinkFaults, AHeldJogIsLetGoWithin300MsOfTheReceiverGoingAwayForGood) {
    holdKey12();

    const DWORD lost = GetTickCount();
    pendant.dropReceiver();

    Received letGo{};
    ASSERT_TRUE(waitFor(onX(WM_LBUTTONUP), 1, 2000, &letGo)) << "X+ still held 2 s after the receiver went";
    EXPECT_LE(letGo.time - lost, 300u);
    EXPECT_EQ(app::state().linkUp, 0) << "the receiver stays away";
}

TEST_F(LinkFaults, ChordsKeepTheirModifierAfterAReconnect) {
    const auto ctrlHome = [this](const Received& r) {
        return r.window == ncstudio.main && r.message == WM_KEYDOWN && r.wParam == VK_HOME;
    };
    Received before{}, after{};
    send(keyReport(11));
    send(keyReport(0));
    ASSERT_TRUE(waitFor(ctrlHome, 1, 2000, &before));

    pendant.dropReceiver();
    for (int wait = 0; wait < 100 && app::state().linkUp; ++wait) Sleep(20);
    ASSERT_EQ(app::state().linkUp, 0);
    for (int attempt = 0; attempt < 20 && !app::state().linkUp; ++attempt) {
        pendant::device().reconnectStep(nullptr);
        if (!app::state().linkUp) Sleep(100);
    }
    ASSERT_EQ(app::state().linkUp, 1) << "the receiver did not come back";
    ASSERT_TRUE(pendant.waitForReceiver(2000));
    send(keyReport(11));
    send(keyReport(0));
    ASSERT_TRUE(waitFor(ctrlHome, 2, 2000, &after));

    EXPECT_TRUE(before.controlDown) << "Ctrl+Home before the reconnect";
    EXPECT_TRUE(after.controlDown) << "Ctrl+Home after the reconnect";
}

// NcStudio's UI thread stops answering while key 12 holds "X+"; the
// operator lets go 0.7 s into the pause.
class HungNcStudio : public LinkFaults, public testing::WithParamInterface<DWORD> {};

TEST_P(HungNcStudio, TheJogIsLetGoSoonAfterItAnswersAgainAndKeysWorkOnAgain) {
    const DWORD pauseMs = GetParam();
    holdKey12();

    host.pause(pauseMs);
    const DWORD answersAgain = GetTickCount() + pauseMs;
    Sleep(700);
    send(keyReport(0));

    Received letGo{};
    ASSERT_TRUE(waitFor(onX(WM_LBUTTONUP), 1, pauseMs + 3000, &letGo)) << "X+ still held";
    EXPECT_LE(static_cast<int>(letGo.time - answersAgain), 1000);

    send(keyReport(12));
    EXPECT_TRUE(waitFor(onX(WM_LBUTTONDOWN), 2, 2000)) << "a key after the pause presses X+ again";
    send(keyReport(0));
    EXPECT_TRUE(waitFor(onX(WM_LBUTTONUP), 2, 2000)) << "and lets it go";
}

INSTANTIATE_TEST_SUITE_P(Pauses, HungNcStudio, testing::Values(3000u, 8000u),
                         [](const testing::TestParamInfo<DWORD>& info) {
                             return std::to_string(info.param / 1000) + "s";
                         });

}  // namespace
