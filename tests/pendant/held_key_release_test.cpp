// A key or wheel still held when the link goes down is released in ncbridge.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pendant/key_dispatch_fixture.h"

using pendant::dispatchKeyEvent;
using pendant_testing::KeyDispatchFixture;
using Calls = std::vector<std::string>;

class HeldKeyRelease : public KeyDispatchFixture {
protected:
    // Asks for the release and waits until the release thread is done.
    static void releaseHeldKeysOnLinkLoss() {
        pendant::releaseHeldKeysOnLinkLoss();
        ASSERT_TRUE(pendant::waitForLinkRelease(2000));
    }
};

TEST_F(HeldKeyRelease, LastEventThatHeldSomethingIsReleasedOnceWithItsKnobs) {
    struct Case {
        int wheelDelta;
        DWORD keyWord;
        Calls release;
    };
    const Case cases[] = {
        {0, 0x03020005, {"KeyBoardProc 256 03020000"}},  // key1 down
        {0, 0x03020700, {"KeyBoardProc 256 03020000"}},  // key2 down
        {3, 0x01040000, {"KeyBoardProc 256 01040000"}},  // wheel turning
        {0, 0x03020000, {}},                           // already a release
    };
    for (const Case& event : cases) {
        SCOPED_TRACE(event.keyWord);
        dispatchKeyEvent(event.wheelDelta, static_cast<int>(event.keyWord));
        bridge.clearCalls();

        releaseHeldKeysOnLinkLoss();
        EXPECT_EQ(bridge.calls(), event.release);
        releaseHeldKeysOnLinkLoss();
        EXPECT_EQ(bridge.calls(), event.release) << "a release is not repeated";
    }
}

TEST_F(HeldKeyRelease, DroppedEventsDoNotChangeWhatIsHeld) {
    dispatchKeyEvent(0, 0x03020005);
    app::state().linkEnabled = 0;
    dispatchKeyEvent(0, 0x03020000);  // dropped: the key is still down in ncbridge
    bridge.clearCalls();

    releaseHeldKeysOnLinkLoss();

    EXPECT_EQ(bridge.calls(), Calls{"KeyBoardProc 256 03020000"});
}

TEST_F(HeldKeyRelease, NoReleaseWhileNothingIsHeldNcStudioIsUnboundOrTheLibraryFreed) {
    releaseHeldKeysOnLinkLoss();
    EXPECT_EQ(app::state().bridgeModule, nullptr) << "nothing handed over: the library is not loaded";
    dispatchKeyEvent(0, 0x03020005);
    bridge.clearCalls();

    app::state().hostThreadId = 0;
    releaseHeldKeysOnLinkLoss();
    EXPECT_TRUE(bridge.calls().empty());

    bindTo(host, main);
    app::freeBridge();
    releaseHeldKeysOnLinkLoss();
    EXPECT_TRUE(bridge.calls().empty());
    EXPECT_EQ(app::state().bridgeModule, nullptr) << "the library is not loaded for it";

    ASSERT_NE(app::ensureBridgeLoaded(), nullptr);
    releaseHeldKeysOnLinkLoss();
    EXPECT_EQ(bridge.calls(), Calls{"KeyBoardProc 256 03020000"}) << "still held until released";
}
