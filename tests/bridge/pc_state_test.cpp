// SetPcState: which of NcStudio's windows is in front, the host mode put aside
// by prompts and brought back, and the calibration modes' grace reports.
#include <gtest/gtest.h>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"
#include "tests/support/mutex_holder.h"

using bridge::block;
using bridge_tests::childWithText;
using testing_support::BridgeFixture;
using testing_support::otherThreadCanTake;

class PcState : public BridgeFixture {
protected:
    void SetUp() override {
        BridgeFixture::SetUp();
        main = ncstudio.mainWindow();
        prompt = ncstudio.topLevel("#32770", "NcStudio");
        bindTo(main);
    }

    HWND main = nullptr;
    HWND prompt = nullptr;
};

TEST_F(PcState, MainWindowReportsMode0) {
    block().jiggleWindow = prompt;
    block().homingDialog = prompt;
    block().promptWindow = prompt;
    block().reportedPcState = 16;

    SetPcState(main, 0);

    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().reportedPcState, 0);
    EXPECT_EQ(block().jiggleWindow, nullptr);
    EXPECT_EQ(block().homingDialog, nullptr);
    EXPECT_EQ(block().promptWindow, nullptr);
}

TEST_F(PcState, JiggleWindowIsCachedWithItsButtonsOnlyOnEntering) {
    HWND jiggle = ncstudio.jiggleWindow();
    HWND reported = ncstudio.topLevel("#32770", "Jog");  // the window the driver saw in front
    block().homingDialog = prompt;

    SetPcState(reported, 6);

    EXPECT_EQ(block().hostMode, 6);
    EXPECT_EQ(block().reportedPcState, 6);
    EXPECT_EQ(block().jiggleWindow, jiggle) << "replaced by the \"Jiggle\" window found";
    EXPECT_EQ(block().homingDialog, nullptr);
    EXPECT_EQ(block().promptWindow, nullptr);
    const char* order[] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(block().jiggleButtons[i], childWithText(jiggle, order[i])) << order[i];

    for (HWND& button : block().jiggleButtons) button = nullptr;
    SetPcState(reported, 6);

    EXPECT_EQ(block().hostMode, 6);
    EXPECT_EQ(block().jiggleWindow, reported) << "no second caching";
    for (HWND button : block().jiggleButtons) EXPECT_EQ(button, nullptr);
    EXPECT_TRUE(clock.sleeps().empty());
    settle();
    EXPECT_TRUE(host.received().empty()) << "nothing is posted";
}

TEST_F(PcState, JiggleReportWithoutJiggleWindowKeepsTheReportedWindow) {
    HWND reported = ncstudio.topLevel("#32770", "Jog");
    block().jiggleButtons[bridge::kXPlus] = prompt;

    SetPcState(reported, 6);

    EXPECT_EQ(block().jiggleWindow, reported);
    EXPECT_EQ(block().jiggleButtons[bridge::kXPlus], prompt) << "the cache is left alone";
    EXPECT_EQ(block().hostMode, 6);
    EXPECT_EQ(block().reportedPcState, 6);
}

TEST_F(PcState, HomingDialogReportsMode5) {
    HWND homing = ncstudio.topLevel("#32770", "  BKREF  ");
    block().jiggleWindow = prompt;

    SetPcState(homing, 5);

    EXPECT_EQ(block().homingDialog, homing);
    EXPECT_EQ(block().jiggleWindow, nullptr);
    EXPECT_EQ(block().hostMode, 5);
    EXPECT_EQ(block().reportedPcState, 5);
    EXPECT_EQ(block().promptWindow, nullptr);
}

TEST_F(PcState, PromptPutsTheJiggleModeAsideAndTheMainWindowBringsItBackThenEndsIt) {
    block().hostMode = 6;
    block().jiggleWindow = main;
    block().homingDialog = main;

    SetPcState(prompt, 16);

    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().savedHostMode, 6);
    EXPECT_EQ(block().reportedPcState, 16);
    EXPECT_EQ(block().promptWindow, prompt);
    EXPECT_EQ(block().jiggleWindow, nullptr);
    EXPECT_EQ(block().homingDialog, nullptr);

    SetPcState(main, 0);

    EXPECT_EQ(block().hostMode, 0) << "6 came back, and as 6 >= 5 the main window ends it";
    EXPECT_EQ(block().savedHostMode, 0);
    EXPECT_EQ(block().reportedPcState, 0);
    EXPECT_EQ(block().promptWindow, nullptr);
}

TEST_F(PcState, ParametersWindowReportsLikeAPrompt) {
    HWND parameters = ncstudio.topLevel("#32770", "paramters");
    block().hostMode = 5;

    SetPcState(parameters, 32);

    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().savedHostMode, 5);
    EXPECT_EQ(block().reportedPcState, 16);
    EXPECT_EQ(block().promptWindow, parameters);
}

TEST_F(PcState, PromptWithModeZeroKeepsWhatWasPutAsideBefore) {
    block().hostMode = 5;
    SetPcState(prompt, 16);
    SetPcState(prompt, 32);

    EXPECT_EQ(block().savedHostMode, 5) << "mode 0 is not put aside";
    EXPECT_EQ(block().hostMode, 0);

    HWND homing = ncstudio.topLevel("#32770", "  BKREF  ");
    SetPcState(homing, 5);
    EXPECT_EQ(block().hostMode, 5);
    EXPECT_EQ(block().savedHostMode, 0);
}

TEST_F(PcState, CalibrationModeSurvivesGraceReportsOfTheMainWindow) {
    block().hostMode = 2;
    block().modeGrace = 3;

    for (int left : {2, 1, 0}) {
        SetPcState(main, 0);
        EXPECT_EQ(block().hostMode, 2);
        EXPECT_EQ(block().reportedPcState, 2);
        EXPECT_EQ(block().modeGrace, left);
    }

    SetPcState(main, 0);
    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().reportedPcState, 0);
    EXPECT_EQ(block().modeGrace, 0);
}

TEST_F(PcState, CalibrationModeOneIsReportedAsOne) {
    block().hostMode = 1;
    block().modeGrace = 1;

    SetPcState(main, 0);

    EXPECT_EQ(block().hostMode, 1);
    EXPECT_EQ(block().reportedPcState, 1);
    EXPECT_EQ(block().modeGrace, 0);
}

TEST_F(PcState, EachGraceReportReleasesTheMutexOnceOnTheCallingThread) {
    HANDLE own = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "mdllhook");
    ASSERT_NE(own, nullptr);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(WaitForSingleObject(own, 0), WAIT_OBJECT_0);
    block().hostMode = 2;
    block().modeGrace = 2;

    SetPcState(main, 0);
    EXPECT_FALSE(otherThreadCanTake());
    SetPcState(main, 0);
    EXPECT_FALSE(otherThreadCanTake()) << "two releases of three holds";
    SetPcState(main, 0);
    EXPECT_FALSE(otherThreadCanTake()) << "no grace left: no release";

    EXPECT_TRUE(ReleaseMutex(own));
    EXPECT_TRUE(otherThreadCanTake());
    CloseHandle(own);
}

TEST_F(PcState, GraceReleaseOnAThreadThatDoesNotOwnTheMutexHasNoEffect) {
    testing_support::MutexHolder holder;
    block().hostMode = 1;
    block().modeGrace = 1;

    SetPcState(main, 0);

    EXPECT_EQ(block().modeGrace, 0);
    EXPECT_FALSE(otherThreadCanTake());
}

TEST_F(PcState, ModeFiveOrSixEndsAtTheMainWindowEvenWithGrace) {
    block().hostMode = 5;
    block().modeGrace = 2;

    SetPcState(main, 0);

    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().reportedPcState, 0);
    EXPECT_EQ(block().modeGrace, 2);
}

TEST_F(PcState, CalibrationWindowReportsAPromptInMode2) {
    HWND calibration = ncstudio.topLevel("#32770", "Calibration");

    SetPcState(calibration, 2);

    EXPECT_EQ(block().hostMode, 2);
    EXPECT_EQ(block().reportedPcState, 16);
    EXPECT_EQ(block().promptWindow, calibration);
    EXPECT_EQ(block().savedHostMode, 0);
}

TEST_F(PcState, CalibrationWindowPutsTheExecutorsModeAsideUntilTheNextReport) {
    HWND calibration = ncstudio.topLevel("#32770", "Calibration");
    block().hostMode = 1;

    SetPcState(calibration, 2);
    EXPECT_EQ(block().hostMode, 2);
    EXPECT_EQ(block().savedHostMode, 1);

    SetPcState(main, 0);
    EXPECT_EQ(block().hostMode, 0) << "mode 1 came back; no grace left";
    EXPECT_EQ(block().reportedPcState, 0);
    EXPECT_EQ(block().savedHostMode, 0);
}

TEST_F(PcState, CalibrationModeComesBackAfterAPromptAndKeepsItsGrace) {
    block().hostMode = 2;
    block().modeGrace = 3;

    SetPcState(prompt, 16);
    EXPECT_EQ(block().hostMode, 0);
    EXPECT_EQ(block().savedHostMode, 2);

    SetPcState(main, 0);
    EXPECT_EQ(block().hostMode, 2);
    EXPECT_EQ(block().reportedPcState, 2);
    EXPECT_EQ(block().modeGrace, 2);
    EXPECT_EQ(block().savedHostMode, 0);
}

TEST_F(PcState, AnUnknownStateBecomesTheMode) {
    block().jiggleWindow = prompt;
    block().homingDialog = prompt;

    SetPcState(prompt, 9);

    EXPECT_EQ(block().hostMode, 9);
    EXPECT_EQ(block().reportedPcState, 9);
    EXPECT_EQ(block().jiggleWindow, nullptr);
    EXPECT_EQ(block().homingDialog, nullptr);
    EXPECT_EQ(block().promptWindow, nullptr);
}
