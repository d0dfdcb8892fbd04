// Key events handed to KeyBoardProc: what is dropped, what marks key
// activity, and the tool-setter settings ahead of key 4.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "app/lock_toggles.h"
#include "tests/pendant/key_dispatch_fixture.h"

using pendant::dispatchKeyEvent;
using pendant_testing::KeyDispatchFixture;
using Calls = std::vector<std::string>;

class KeyDispatch : public KeyDispatchFixture {};

TEST_F(KeyDispatch, EventWithoutKeysOrWheelStillReachesKeyBoardProc) {
    dispatchKeyEvent(0, 0);

    EXPECT_EQ(bridge.calls(), Calls{"KeyBoardProc 0 00000000"});
    EXPECT_EQ(app::state().keyActivity, 0);
    EXPECT_EQ(app::state().bridgeModule, bridge.module()) << "loaded by name on demand";
}

TEST_F(KeyDispatch, KeyActivityIsMarkedOnlyWhenAKeyByteIsSet) {
    struct Case {
        int wheelDelta;
        DWORD keyWord;
        int keyActivity;
    };
    const Case cases[] = {
        {0, 0x03050000, 0},  // only the knobs moved
        {7, 0x03050000, 0},  // the wheel turned
        {0, 0x03050001, 1},  // key1
        {0, 0x03050700, 1},  // key2 alone
    };
    for (const Case& event : cases) {
        SCOPED_TRACE(event.keyWord);
        app::state().keyActivity = 0;
        dispatchKeyEvent(event.wheelDelta, static_cast<int>(event.keyWord));
        EXPECT_EQ(app::state().keyActivity, event.keyActivity);
    }
    EXPECT_EQ(bridge.calls().size(), 4u) << "every event reaches KeyBoardProc";
}

TEST_F(KeyDispatch, ToolSetterSettingsGoAheadOfKeyFourOnly) {
    struct Case {
        int wheelDelta;
        DWORD keyWord;
        Calls calls;
    };
    const Case cases[] = {
        {254, 0x01050004, {"SetKnifHigh 12.500000 1", "KeyBoardProc 254 01050004"}},
        {0, 0x00000400, {"SetKnifHigh 12.500000 1", "KeyBoardProc 0 00000400"}},  // key2 with no key1
        {0, 0x00000304, {"SetKnifHigh 12.500000 1", "KeyBoardProc 0 00000304"}},
        {0, 0x00000403, {"KeyBoardProc 0 00000403"}},  // key1 3 comes first
        {0, 0x04040000, {"KeyBoardProc 0 04040000"}},  // knob positions are no key
    };
    for (const Case& event : cases) {
        SCOPED_TRACE(event.keyWord);
        bridge.clearCalls();
        dispatchKeyEvent(event.wheelDelta, static_cast<int>(event.keyWord));
        EXPECT_EQ(bridge.calls(), event.calls);
    }
}

TEST_F(KeyDispatch, ToolSetterSettingsAreTheCurrentOnes) {
    app::state().toolSetterHeight = 34.4;
    app::state().toolSetterEnabled = 0;
    dispatchKeyEvent(0, 4);
    EXPECT_EQ(bridge.calls(), (Calls{"SetKnifHigh 34.400000 0", "KeyBoardProc 0 00000004"}));
}

TEST_F(KeyDispatch, LockedLinkOrUnboundNcStudioDropsEventsAndReadingGoesOn) {
    for (bool locked : {true, false}) {
        SCOPED_TRACE(locked ? "link locked" : "NcStudio unbound");
        app::state().linkEnabled = locked ? 0 : 1;
        app::state().hostThreadId = locked ? host.threadId() : 0;

        dispatchKeyEvent(5, 0x01050004);

        EXPECT_EQ(app::state().keyActivity, 0);
        EXPECT_EQ(app::state().attachedThreadId, 0u);
        EXPECT_EQ(app::state().bridgeModule, nullptr) << "nothing reached ncbridge";
        EXPECT_TRUE(bridge.calls().empty());
    }
    app::state().linkEnabled = 1;
    bindTo(host, main);
    dispatchKeyEvent(0, 0x01050000);
    EXPECT_EQ(bridge.calls(), Calls{"KeyBoardProc 0 01050000"});
}

TEST_F(KeyDispatch, MissingLibraryDropsTheEventAndIsLoadedWithALaterOne) {
    bridge.makeAbsent();

    dispatchKeyEvent(0, 0x00000004);

    EXPECT_EQ(app::state().bridgeModule, nullptr);
    EXPECT_EQ(GetModuleHandleA("ncbridge.dll"), nullptr) << "no library was loaded";
    EXPECT_EQ(app::state().keyActivity, 1) << "marked before the library is needed";
    EXPECT_EQ(app::state().attachedThreadId, host.threadId());

    bridge.makeAvailable();
    dispatchKeyEvent(1, 0);

    EXPECT_EQ(app::state().bridgeModule, bridge.module());
    EXPECT_EQ(bridge.calls(), Calls{"KeyBoardProc 1 00000000"});
}

// Ctrl+F11 while the reader has passed its look at the lock but not yet
// handed its event over (here: it waits to restore a minimised NcStudio
// that is busy). The release of the held jog goes first; the press on its
// way must not follow it, or X+ stays down while locked.
TEST_F(KeyDispatch, APressOnItsWayWhenTheLockComesIsNotHandedAfterTheRelease) {
    const int key12OnX = 0x111C000C;
    dispatchKeyEvent(0, key12OnX);
    host.invoke([&] { ShowWindow(main, SW_SHOWMINNOACTIVE); });
    host.pause(1500);
    std::thread reader([&] { dispatchKeyEvent(0, key12OnX); });
    Sleep(300);  // the reader is waiting for NcStudio's thread by now

    app::toggleLockFromHotkey(nullptr);
    EXPECT_TRUE(pendant::waitForLinkRelease(2000));
    reader.join();

    EXPECT_EQ(bridge.calls(), (Calls{"KeyBoardProc 0 111C000C", "KeyBoardProc 256 111C0000"}));
}
