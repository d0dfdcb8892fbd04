// GetMaState: the StateWord from NcStudio's status dialog and the prompt or
// mode in front, and the jog housekeeping each poll carries.
#include <gtest/gtest.h>

#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::manualPageWithButtons;
using testing_support::BridgeFixture;

class MachineStateReader : public BridgeFixture {
protected:
    void build(const char* runState = "IDLE") {
        main = ncstudio.mainWindow();
        status = ncstudio.statusDialog(main, runState);
        bindTo(main);
    }

    HWND main = nullptr;
    HWND status = nullptr;
};

TEST_F(MachineStateReader, RunStateWordsGiveTheirRunStateAndOtherTextsKeepThePrevious) {
    const struct {
        std::string text;
        int run;
    } reads[] = {{"State: IDLE", 0}, {"State: RUNNING", 1}, {"State: 紧停", 3}, {"State: PAUSING", 2},
                 {"READY", 2},       {"", 2},               {"idle", 2}};
    build();
    for (const auto& r : reads) {
        ncstudio.setText(status, r.text);
        EXPECT_EQ(GetMaState(main), r.run) << '"' << r.text << '"';
        EXPECT_EQ(block().lastRunState, r.run);
    }
}

TEST_F(MachineStateReader, PromptCodeComesFromTheModeOrAReportedPrompt) {
    build("RUNNING");
    EXPECT_EQ(GetMaState(main), 0x1);

    block().hostMode = 5;
    EXPECT_EQ(GetMaState(main), 0x501);

    ncstudio.setText(status, "IDLE");
    SetPcState(ncstudio.topLevel("#32770", "Calibration"), 2);  // mode 2, reported as a prompt
    EXPECT_EQ(GetMaState(main), 0x1000);
}

TEST_F(MachineStateReader, MissingStatusDialogOrStaticKeepsTheWord) {
    main = ncstudio.mainWindow();
    bindTo(main);
    block().machineState = 0x602;
    block().reportedPcState = 16;
    EXPECT_EQ(GetMaState(main), 0x602) << "no status dialog: the previous word, prompt code and all";

    HWND bar = ncstudio.child(main, {"AfxWnd42", "", standin::kStatusBarId, 0});
    ncstudio.child(bar, {"#32770", "", 0, 0});
    block().machineState = 3;
    block().lastRunState = 0;
    block().reportedPcState = 0;
    block().hostMode = 6;
    EXPECT_EQ(GetMaState(main), 0x603) << "no caption static: the run state stays";
    EXPECT_EQ(block().lastRunState, 0);
}

// The jog housekeeping: a manual page with its jog buttons cached and a
// status dialog.
class JogHousekeeping : public MachineStateReader {
protected:
    void SetUp() override {
        MachineStateReader::SetUp();
        build("IDLE");
        manualPageWithButtons(ncstudio, main);
        bridge::postCtrlChord('2');
        block().stepClickTick = clock.now();
        settle();
        host.clearReceived();
        clock.clearSleeps();
    }

    std::vector<standin::Received> received(UINT message) {
        settle();
        return host.received(message);
    }
};

TEST_F(JogHousekeeping, ThirdIdlePollReleasesTheHeldJogAndReassertsTheAimedStep) {
    for (int target : {3, 4}) {
        SCOPED_TRACE(target);
        host.clearReceived();
        block().heldJogAxis = 17;
        block().releasedJogAxis = 0;
        block().reverseLock = 1;
        block().reverseTick = clock.now();
        block().lastJogDirection = 128;
        block().stepIndex = 3;
        block().stepTarget = target;

        GetMaState(main);
        GetMaState(main);
        EXPECT_TRUE(received(WM_LBUTTONUP).empty());
        EXPECT_EQ(block().jogIdlePolls, 2);

        GetMaState(main);
        auto ups = received(WM_LBUTTONUP);
        ASSERT_EQ(ups.size(), 2u);
        EXPECT_EQ(ups[0].text, "X+");
        EXPECT_EQ(ups[1].text, "X-");
        EXPECT_EQ(block().heldJogAxis, 0);
        EXPECT_EQ(block().releasedJogAxis, 17);
        EXPECT_EQ(block().jogIdlePolls, 0);
        EXPECT_EQ(block().reverseLock, 0);
        EXPECT_EQ(block().lastJogDirection, 0);
        EXPECT_EQ(block().stepIndex, target);
        EXPECT_EQ(block().activeStepIndex, target);
        EXPECT_EQ(block().stepReclick, 0);
        auto clicks = received(BM_CLICK);
        ASSERT_EQ(clicks.size(), target == 3 ? 0u : 1u) << "only a step not where aimed is clicked";
        for (const auto& click : clicks) EXPECT_EQ(click.text, "0.5mm");
    }
}

TEST_F(JogHousekeeping, PollsLongAfterTheLastStepClickDoNotCount) {
    block().heldJogAxis = 17;
    clock.advance(5001);

    for (int poll = 0; poll < 3; ++poll) GetMaState(main);

    EXPECT_EQ(block().jogIdlePolls, 0);
    EXPECT_EQ(block().heldJogAxis, 17);
    EXPECT_TRUE(received(WM_LBUTTONUP).empty());

    block().stepReclick = 1;  // a pending re-click makes them count again
    for (int poll = 0; poll < 3; ++poll) GetMaState(main);
    EXPECT_EQ(block().heldJogAxis, 0);
}

TEST_F(JogHousekeeping, RunawayJogIsStoppedMoreThan2000MsAfterTheStepClick) {
    block().hostGeneration = 2;
    block().releasedJogAxis = 17;
    block().lastRunState = 1;
    ncstudio.setText(status, "RUNNING");

    clock.advance(2000);
    GetMaState(main);
    EXPECT_TRUE(received(WM_KEYDOWN).empty()) << "not yet at 2000 ms";

    clock.advance(1);
    GetMaState(main);
    EXPECT_EQ(received(WM_KEYDOWN).size(), 1u) << "F11";
    EXPECT_EQ(received(WM_LBUTTONUP).size(), 2u);
    EXPECT_EQ(block().releasedJogAxis, 17) << "checked again while RUNNING";

    ncstudio.setText(status, "IDLE");
    GetMaState(main);  // stops again, then reads IDLE
    GetMaState(main);  // sees the idle state and forgets the jog
    EXPECT_EQ(block().releasedJogAxis, 0);
    EXPECT_EQ(received(WM_KEYDOWN).size(), 2u);
}

TEST_F(JogHousekeeping, SavedStepIsRestoredOnceTheToolSetterIsDone) {
    block().stepIndex = 1;
    block().savedStepIndex = 3;
    block().restoreStepPending = 1;
    block().probeCount = 1;

    GetMaState(main);
    EXPECT_TRUE(received(BM_CLICK).empty()) << "probe still counting";

    block().probeCount = 0;
    GetMaState(main);
    auto clicks = received(BM_CLICK);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].text, "0.1mm");
    EXPECT_EQ(block().restoreStepPending, 0);
    EXPECT_EQ(block().savedStepIndex, 3);
    EXPECT_EQ(block().stepIndex, 3);
}

TEST_F(JogHousekeeping, ReverseLockEndsAfter400Ms) {
    block().reverseLock = 1;
    block().lastJogDirection = 1;
    block().reverseTick = clock.now();

    clock.advance(400);
    GetMaState(main);
    EXPECT_EQ(block().reverseLock, 1);

    clock.advance(1);
    GetMaState(main);
    EXPECT_EQ(block().reverseLock, 0);
    EXPECT_EQ(block().lastJogDirection, 0);
}
