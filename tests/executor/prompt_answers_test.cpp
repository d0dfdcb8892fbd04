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

TEST_F(PromptAnswers, Key2InTheHomingDialogClicksAllAxesOrPostsEnterWithoutIt) {
    HWND homing = ncstudio.homingDialog();
    HWND bare = ncstudio.homingDialog({"&X Axis"});
    report(5, 5);
    DWORD t0 = clock.now();
    block().homingDialog = homing;
    event(0, 2);
    block().homingDialog = bare;
    event(0, 2);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{FindWindowExA(homing, nullptr, nullptr, "&All Axes"), BM_CLICK, 0, t0},
                                                   {bare, WM_KEYDOWN, VK_RETURN, t0 + 40},
                                                   {bare, WM_KEYUP, VK_RETURN, t0 + 40}}));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
}

TEST_F(PromptAnswers, Key2AnswersAReportedPromptWithOkYesAndEnter) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    report(0, 16);
    block().promptWindow = prompt;
    block().toolChangeArmed = 1;  // looks for the tool-change button first; there is none
    DWORD t0 = clock.now();
    event(0, 2);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{prompt, WM_COMMAND, 1, t0},
                                                   {prompt, WM_COMMAND, 6, t0},
                                                   {prompt, WM_KEYDOWN, VK_RETURN, t0 + 40},
                                                   {prompt, WM_KEYUP, VK_RETURN, t0 + 40}}));
    EXPECT_EQ(block().toolChangeArmed, 0);
}

TEST_F(PromptAnswers, Key2InTheCalibrationModeClicksTheToolChangeButtonTwice) {
    HWND prompt = ncstudio.prompt("NcStudio", "换刀");
    HWND afterChange = ncstudio.button(prompt, "换刀后继续");
    report(2, 16);
    block().promptWindow = prompt;
    DWORD t0 = clock.now();
    event(0, 2);
    auto got = deliveries();
    ASSERT_EQ(got.size(), 6u) << "two clicks, then OK, Yes and Enter to the prompt";
    EXPECT_EQ(got[0], (Delivery{afterChange, BM_CLICK, 0, t0}));
    EXPECT_EQ(got[1], (Delivery{afterChange, BM_CLICK, 0, t0}));
    EXPECT_EQ(block().hostMode, 0);
}

TEST_F(PromptAnswers, Key1AnswersNoThenCancelOrClosesTheJiggleWindowAndTheHomingDialog) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    HWND jiggle = ncstudio.jiggleWindow();
    HWND homing = ncstudio.homingDialog();
    block().promptWindow = prompt;
    block().jiggleWindow = jiggle;
    block().homingDialog = homing;
    DWORD t0 = clock.now();
    report(0, 16);
    event(0, 1);
    block().promptWindow = nullptr;
    report(6, 6);
    event(0, 1);
    report(5, 5);
    event(0, 1);
    EXPECT_EQ(deliveries(), (std::vector<Delivery>{{prompt, WM_COMMAND, 7, t0},
                                                   {prompt, WM_COMMAND, 2, t0},
                                                   {jiggle, WM_CLOSE, 0, t0},
                                                   {homing, WM_CLOSE, 0, t0}}));
    EXPECT_EQ(block().hostMode, 5) << "only an answered prompt ends the mode";
}

TEST_F(PromptAnswers, AReportedPromptWithoutItsWindowGetsNothing) {
    report(0, 16);
    event(0, 2);
    event(0, 1);
    EXPECT_TRUE(deliveries().empty());
}
