// A continuous jog still running when the link goes down, whichever way it
// goes down, is released in NcStudio once.
#include <gtest/gtest.h>
#include <windows.h>

#include <dbt.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/bridge_binding.h"
#include "app/lock_toggles.h"
#include "app/message_box.h"
#include "pendant/display_frame.h"
#include "pendant/key_dispatch.h"
#include "pendant/polling_thread.h"
#include "tests/pendant/device_fixture.h"
#include "tests/support/recording_bridge.h"

namespace pendant_testing {
namespace {

using pendant::device;
using Events = std::vector<std::string>;

// Axis knob X, rate knob on continuous jog, no key; the wheel turns by 5.
const Report kJogReport = {4, 0, 0, 0, 0x1C, 0x11, 5, 0};
const Events kJogThenRelease = {"KeyBoardProc 5 111C0000", "KeyBoardProc 256 111C0000"};

struct LinkLoss {
    const char* name;
    std::function<void(FakeHid&)> loseLink;
};
void PrintTo(const LinkLoss& loss, std::ostream* out) { *out << loss.name; }

class LinkLossRelease : public DeviceTest, public ::testing::WithParamInterface<LinkLoss> {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        app::state().hostThreadId = GetCurrentThreadId();
    }

    void TearDown() override {
        DeviceTest::TearDown();
        app::ProcessState& state = app::state();
        state.hostThreadId = 0;
        state.attachedThreadId = 0;
        state.lastWheelDelta = 0;
        state.lastKeyWord = 0;
        app::freeBridge();
    }

    Events keyEvents() const {
        Events events;
        for (const std::string& call : bridge.calls())
            if (call.rfind("KeyBoardProc", 0) == 0) events.push_back(call);
        return events;
    }

    // Waits up to 2 s until KeyBoardProc has received `count` events.
    bool waitForKeyEvents(size_t count) const {
        for (int i = 0; i < 200 && keyEvents().size() < count; ++i) Sleep(10);
        return keyEvents().size() >= count;
    }

    testing_support::RecordingBridge bridge;
};

TEST_P(LinkLossRelease, ReleasesTheJogOnce) {
    openReceiver();
    hid.deliver(kJogReport);
    ASSERT_TRUE(waitForKeyEvents(1));
    ASSERT_EQ(keyEvents(), Events{kJogThenRelease[0]});
    ASSERT_TRUE(hid.waitForPendingRead(2000)) << "the reader is back in a read";

    GetParam().loseLink(hid);
    EXPECT_TRUE(pendant::waitForLinkRelease(2000));
    EXPECT_EQ(keyEvents(), kJogThenRelease);

    device().closeDevice();
    EXPECT_TRUE(pendant::waitForLinkRelease(2000));
    EXPECT_EQ(keyEvents(), kJogThenRelease) << "released only once";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LinkLossRelease,
    ::testing::Values(
        LinkLoss{"Unplug", [](FakeHid& hid) {
                     hid.unplug();
                     EXPECT_TRUE(hid.waitForAllClosed(2000));
                 }},
        LinkLoss{"CloseDevice", [](FakeHid&) { device().closeDevice(); }},
        LinkLoss{"AnyDeviceRemoval",
                 [](FakeHid&) {
                     DEV_BROADCAST_HDR header = {};
                     header.dbch_devicetype = DBT_DEVTYP_VOLUME;
                     device().onDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&header));
                 }},
        LinkLoss{"FailedFrameSend",
                 [](FakeHid& hid) {
                     pendant::resetDisplay();
                     pendant::resetPolling();
                     app::state().linkUp = 1;
                     hid.failFeatureWritesFrom(1);
                     std::string location = "X:1:2:3:";
                     pendant::buildAndSendFrame(location);
                     EXPECT_EQ(app::state().linkUp, 0);
                 }}),
    [](const ::testing::TestParamInfo<LinkLoss>& info) { return std::string(info.param.name); });

int boxesShown = 0;

// How long a call on the main thread took.
std::chrono::milliseconds timed(const std::function<void()>& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// A key action that takes long (the Feedrate dialog's wait, a hung NcStudio)
// is still running in the reader when the link goes down.
class LongKeyAction : public LinkLossRelease {
protected:
    void SetUp() override {
        LinkLossRelease::SetUp();
        openReceiver();
        app::state().linkUp = 1;
        bridge.holdKeyBoardProc(true);
        hid.deliver(kKey12Report);
        ASSERT_TRUE(waitForKeyEvents(1)) << "the reader is inside KeyBoardProc";
    }

    void TearDown() override {
        bridge.holdKeyBoardProc(false);
        LinkLossRelease::TearDown();
        pendant::resetPolling();
    }

    // Key 12 on X, rate knob on continuous jog.
    static constexpr Report kKey12Report = {4, 0, 12, 0, 0x1C, 0x11, 0, 0};
};

TEST_F(LongKeyAction, DeviceChangesReconnectsAndTheStopNeverWaitForIt) {
    DEV_BROADCAST_HDR stick = {};
    stick.dbch_devicetype = DBT_DEVTYP_VOLUME;
    EXPECT_LT(timed([&] { device().onDeviceChange(DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&stick)); }),
              std::chrono::milliseconds(100));
    EXPECT_LT(timed([] { device().reconnectStep(nullptr); }), std::chrono::milliseconds(300));
    EXPECT_EQ(app::state().linkUp, 0) << "nothing opens beside the busy reader";
    EXPECT_LT(timed([] { pendant::stopPolling(); }), std::chrono::milliseconds(1500));

    bridge.holdKeyBoardProc(false);
    ASSERT_TRUE(waitForKeyEvents(2));
    EXPECT_EQ(keyEvents()[1], "KeyBoardProc 256 111C0000") << "the release follows the key action";
    for (int attempt = 0; attempt < 10 && !app::state().linkUp; ++attempt) {
        device().reconnectStep(nullptr);
        if (!app::state().linkUp) Sleep(50);
    }
    EXPECT_EQ(app::state().linkUp, 1) << "the link opens again once the reader has ended";
}

int countBox(HWND, const char*, const char*, UINT) {
    ++boxesShown;
    return IDOK;
}

// The menu's lock met the reader inside a key action; the menu's unlock
// comes before the action has ended. The receiver is still plugged in: no
// "Please Insert Usb Controller!", and the link opens once the reader ends.
TEST_F(LongKeyAction, AMenuUnlockBeforeTheKeyActionEndedOpensTheLinkOnceItHas) {
    boxesShown = 0;
    app::installMessageBox(countBox);
    app::toggleLockFromMenu(nullptr);
    app::toggleLockFromMenu(nullptr);
    app::installMessageBox(nullptr);
    EXPECT_EQ(boxesShown, 0);
    EXPECT_EQ(app::state().linkEnabled, 1);

    bridge.holdKeyBoardProc(false);
    for (int attempt = 0; attempt < 20 && !device().connected; ++attempt) {
        Sleep(50);
        device().reconnectStep(nullptr);
    }
    EXPECT_EQ(device().connected, 1);
    EXPECT_EQ(app::state().linkEnabled, 1);
}

TEST_F(LongKeyAction, TheLibraryStaysLoadedUntilTheKeyActionHasReturned) {
    using HoldFn = void(WINAPI*)(int);
    auto letGo = reinterpret_cast<HoldFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(bridge.module(), "HoldKeyBoardProc")));
    ASSERT_NE(letGo, nullptr);

    app::freeBridge();
    bridge.makeAbsent();
    EXPECT_NE(GetModuleHandleA("ncbridge.dll"), nullptr) << "unloaded under the reader";

    letGo(0);
    for (int i = 0; i < 200 && GetModuleHandleA("ncbridge.dll"); ++i) Sleep(10);
    EXPECT_EQ(GetModuleHandleA("ncbridge.dll"), nullptr) << "unloaded once the call has returned";
    bridge.makeAvailable();
}

TEST_F(LinkLossRelease, AFailedFrameSendMarksTheLinkDownBeforeTheReleaseRuns) {
    openReceiver();
    hid.deliver(kJogReport);
    ASSERT_TRUE(waitForKeyEvents(1));
    pendant::resetDisplay();
    pendant::resetPolling();
    app::state().linkUp = 1;
    hid.failFeatureWritesFrom(1);
    bridge.holdKeyBoardProc(true);

    std::thread sender([] {
        std::string location = "X:1:2:3:";
        pendant::buildAndSendFrame(location);
    });
    ASSERT_TRUE(waitForKeyEvents(2));
    EXPECT_EQ(app::state().linkUp, 0) << "when the release reaches KeyBoardProc";
    bridge.holdKeyBoardProc(false);
    sender.join();
}

}  // namespace
}  // namespace pendant_testing
