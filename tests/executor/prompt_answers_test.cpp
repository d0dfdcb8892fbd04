// Keys 2 and 1: confirming and cancelling NcStudio's jiggle window, its
// back-to-reference dialog and its prompts.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using bridge::block;
using namespace executor_testing;

class PromptAnswers : public ExecutorFixture {
protected:
    void report(int hostMode, int pcState) {
        block().hostMode = hostMode;
        block().reportedPcState = pcState;
    }
};

TEST_F(PromptAnswers, Key2InTheHomingDialogClicksAllAxes) {
    HWND homing = ncstudio.homingDialog();
    HWND allAxes = FindWindowExA(homing, nullptr, nullptr, "&All Axes");
    report(5, 5);
    block().homingDialog = homing;
    DWORD t0 = clock.now();
    event(0, 2);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{allAxes, BM_CLICK, 0, t0}}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40}));
}

TEST_F(PromptAnswers, Key2InAHomingDialogWithoutAllAxesPostsEnter) {
    HWND homing = ncstudio.homingDialog({"&X Axis"});
    report(5, 5);
    block().homingDialog = homing;
    DWORD t0 = clock.now();
    event(0, 2);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{homing, WM_KEYDOWN, VK_RETURN, t0}, {homing, WM_KEYUP, VK_RETURN, t0}}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40}));
}

TEST_F(PromptAnswers, Key2AnswersAReportedPromptWithOkYesAndEnter) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    report(0, 16);
    block().promptWindow = prompt;
    block().toolChangeArmed = 1;
    DWORD t0 = clock.now();
    event(0, 2);
    // The armed tool change looks for its button first; this prompt has none.
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{prompt, WM_COMMAND, 1, t0},
                                                   {prompt, WM_COMMAND, 6, t0},
                                                   {prompt, WM_KEYDOWN, VK_RETURN, t0 + 40},
                                                   {prompt, WM_KEYUP, VK_RETURN, t0 + 40}}));
    EXPECT_EQ(block().toolChangeArmed, 0);
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(PromptAnswers, Key2InTheCalibrationModeClicksTheToolChangeButtonTwice) {
    HWND prompt = ncstudio.prompt("NcStudio", "换刀");
    HWND afterChange = ncstudio.button(prompt, "换刀后继续");
    block().hostMode = 2;
    block().reportedPcState = 16;
    block().promptWindow = prompt;
    DWORD t0 = clock.now();
    event(0, 2);
    auto got = deliveries();
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], (Delivery{afterChange, BM_CLICK, 0, t0}));
    EXPECT_EQ(got[1], (Delivery{afterChange, BM_CLICK, 0, t0}));
    EXPECT_EQ(got.size(), 6u) << "then OK, Yes and Enter to the prompt";
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(PromptAnswers, Key2InTheJiggleWindowPostsEnterAndOk) {
    HWND jiggle = ncstudio.topLevel("#32770", "Jiggle");
    report(6, 6);
    block().jiggleWindow = jiggle;
    DWORD t0 = clock.now();
    event(0, 2);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{jiggle, WM_KEYDOWN, VK_RETURN, t0},
                                                   {jiggle, WM_KEYUP, VK_RETURN, t0},
                                                   {jiggle, WM_COMMAND, 1, t0}}));
}

TEST_F(PromptAnswers, Key1AnswersAReportedPromptWithNoThenCancel) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    report(0, 16);
    block().promptWindow = prompt;
    block().toolChangeArmed = 1;
    DWORD t0 = clock.now();
    event(0, 1);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{prompt, WM_COMMAND, 7, t0}, {prompt, WM_COMMAND, 2, t0}}));
    EXPECT_EQ(block().toolChangeArmed, 0);
}

TEST_F(PromptAnswers, Key1ClosesTheJiggleWindowOrTheHomingDialog) {
    HWND jiggle = ncstudio.topLevel("#32770", "Jiggle");
    HWND homing = ncstudio.homingDialog();
    block().jiggleWindow = jiggle;
    block().homingDialog = homing;
    DWORD t0 = clock.now();
    report(6, 6);
    event(0, 1);
    report(5, 5);
    event(0, 1);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{jiggle, WM_CLOSE, 0, t0}, {homing, WM_CLOSE, 0, t0}}));
    EXPECT_EQ(block().hostMode, 5) << "no prompt was answered";
}

TEST_F(PromptAnswers, AReportedPromptWithoutItsWindowGetsNothing) {
    report(0, 16);
    event(0, 2);
    event(0, 1);
    EXPECT_TRUE(deliveries().empty());
}
