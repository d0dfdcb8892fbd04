// The named mutex "mdllhook": created free at start-up, waited for at most
// 500 ms by installhook, released once more by UnHook; without it the exports
// run unlocked. Real threads hold the real mutex; the waits are real.
#include <gtest/gtest.h>

#include <thread>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"
#include "tests/support/mutex_holder.h"

using bridge::block;
using bridge_tests::manualPageWithButtons;
using testing_support::BridgeFixture;
using testing_support::MutexHolder;
using testing_support::otherThreadCanTake;

class BridgeMutex : public BridgeFixture {
protected:
    // NcStudio's main window with its manual page.
    HWND build() {
        HWND main = ncstudio.mainWindow();
        manualPageWithButtons(ncstudio, main);
        host.clearReceived();
        return main;
    }

    // The calling thread takes the mutex `times` times over a handle of its
    // own (closed at the end of the test).
    void takeOnThisThread(int times) {
        if (!own) own = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "mdllhook");
        ASSERT_NE(own, nullptr);
        for (int i = 0; i < times; ++i) ASSERT_EQ(WaitForSingleObject(own, 0), WAIT_OBJECT_0);
    }

    void TearDown() override {
        if (own) {
            while (ReleaseMutex(own)) {
            }
            CloseHandle(own);
        }
        BridgeFixture::TearDown();
    }

    HANDLE own = nullptr;
};

TEST_F(BridgeMutex, InstallhookGivesUpAfterFiveHundredMillisecondsWhileAnotherThreadHoldsIt) {
    HWND main = build();
    HWND previous = ncstudio.mainWindow("NcStudio - old");
    bindTo(previous);
    block().jogButtonsReady = 1;
    block().safeHeightKnown = 1;
    DWORD virtualStart = clock.now();
    MutexHolder holder;

    DWORD realStart = GetTickCount();
    int result = installhook(main);
    DWORD waited = GetTickCount() - realStart;

    EXPECT_EQ(result, 0);
    EXPECT_GE(waited, 490u) << "a real wait of 500 ms";
    EXPECT_LT(waited, 5000u);
    EXPECT_EQ(block().hostWindow, previous);
    EXPECT_EQ(block().jogButtonsReady, 1);
    EXPECT_EQ(block().safeHeightKnown, 1);
    for (HWND button : block().jogButtons) EXPECT_EQ(button, nullptr);
    settle();
    EXPECT_TRUE(host.received().empty()) << "no chord";
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(clock.now(), virtualStart);
}

TEST_F(BridgeMutex, InstallhookGoesOnWhenTheHolderLetsGoWithinTheWaitOrAbandonsTheMutex) {
    for (bool abandon : {false, true}) {
        SCOPED_TRACE(abandon ? "abandoned" : "released");
        HWND main = build();
        MutexHolder holder;
        std::thread letGo([&] {
            Sleep(150);
            abandon ? holder.abandon() : holder.release();
        });

        int result = installhook(main);
        letGo.join();

        EXPECT_EQ(result, 1);
        EXPECT_EQ(block().hostWindow, main);
        EXPECT_TRUE(otherThreadCanTake()) << "released by installhook";
    }
}

TEST_F(BridgeMutex, InstallhookHoldsTheMutexWhileItWorksAndReleasesItOnce) {
    EXPECT_TRUE(otherThreadCanTake()) << "free after start-up";
    HWND main = build();
    std::vector<bool> heldDuringSleeps;
    clock.onSleep([&] {
        heldDuringSleeps.push_back(!otherThreadCanTake());
        host.sync();
    });

    EXPECT_EQ(installhook(main), 1);

    EXPECT_EQ(heldDuringSleeps, (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(otherThreadCanTake());
}

TEST_F(BridgeMutex, InstallhookOnTheOwningThreadGoesOnAtOnceAndLeavesItsOwnership) {
    HWND main = build();
    takeOnThisThread(1);

    DWORD realStart = GetTickCount();
    EXPECT_EQ(installhook(main), 1);
    EXPECT_LT(GetTickCount() - realStart, 400u);

    EXPECT_FALSE(otherThreadCanTake()) << "the caller's own hold remains";
    EXPECT_TRUE(ReleaseMutex(own));
    EXPECT_TRUE(otherThreadCanTake());
}

TEST_F(BridgeMutex, UnHookAndGraceReportsEachReleaseOneHoldOfTheCallingThreadOnly) {
    block().hostMode = 1;
    block().modeGrace = 1;
    {
        MutexHolder holder;
        EXPECT_EQ(UnHook(), 1);
        SetPcState(nullptr, 0);
        EXPECT_EQ(block().modeGrace, 0);
        EXPECT_FALSE(otherThreadCanTake()) << "another thread's hold stays";
    }
    takeOnThisThread(4);
    block().hostMode = 2;
    block().modeGrace = 2;

    SetPcState(nullptr, 0);
    EXPECT_EQ(UnHook(), 1);
    SetPcState(nullptr, 0);
    SetPcState(nullptr, 0);  // no grace left: no release
    EXPECT_FALSE(otherThreadCanTake()) << "three releases of four holds";
    EXPECT_EQ(UnHook(), 1);
    EXPECT_TRUE(otherThreadCanTake());
    EXPECT_EQ(UnHook(), 1) << "nothing left to release";
}

TEST_F(BridgeMutex, WhenTheMutexCannotBeCreatedTheExportsRunUnlocked) {
    bridge::shutDown();
    // Another kind of object holds the name: CreateMutexA fails.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "mdllhook");
    ASSERT_NE(squatter, nullptr);
    bridge::startUp();
    HWND main = build();

    EXPECT_EQ(installhook(main), 1);
    EXPECT_EQ(block().hostWindow, main);
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40, 40}));
    EXPECT_EQ(UnHook(), 1);

    CloseHandle(squatter);
}
