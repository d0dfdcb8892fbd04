// Keys 2 and 1: confirming and cancelling NcStudio's jiggle window, its
// back-to-reference dialog and its prompts.
#include <gtest/gtest.h>

#include "executor_fixture.h"

using namespace executor_testing;

class PromptAnswers : public ExecutorFixture {};

TEST_F(PromptAnswers, Key2InTheHomingDialogClicksAllAxesOrPostsEnterWithoutIt) {
    HWND homing = ncstudio.homingDialog();
    HWND bare = ncstudio.homingDialog({"&X Axis"});
    report(5, 5);
    DWORD t0 = clock.now();
    block().homingDialog = homing;
    event(0, 2);
    block().homingDialog = bare;
    release();
    event(0, 2);
    HWND allAxes = FindWindowExA(homing, nullptr, nullptr, "&All Axes");
    EXPECT_EQ(deliveries(), Deliveries{click(allAxes, t0)} + keyPress(bare, VK_RETURN, t0 + 40));
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40}));
}

// Enter and OK to the jiggle window, without a wait; its mode stays until
// NcStudio reports the window gone.
TEST_F(PromptAnswers, Key2InTheJiggleWindowPostsEnterThenOkToIt) {
    HWND jiggle = ncstudio.jiggleWindow();
    report(6, 6);
    event(0, 2);
    EXPECT_TRUE(deliveries().empty()) << "no jiggle window reported yet";

    block().jiggleWindow = jiggle;
    release();
    DWORD t0 = clock.now();
    event(0, 2);
    EXPECT_EQ(deliveries(), (keyPress(jiggle, VK_RETURN, t0) + Deliveries{{jiggle, WM_COMMAND, 1, t0}}));
    EXPECT_TRUE(clock.sleeps().empty());
    EXPECT_EQ(block().hostMode, 6);
}

TEST_F(PromptAnswers, Key2AnswersAReportedPromptWithOkYesAndEnterAfterAToolChangeButtonIfAny) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    HWND toolChange = ncstudio.prompt("NcStudio", "换刀");
    HWND afterChange = ncstudio.button(toolChange, "换刀后继续");
    // Armed, it looks for the tool-change button first (the first prompt has
    // none); in the calibration mode it clicks it twice.
    for (int hostMode : {0, 2}) {
        SCOPED_TRACE(hostMode);
        HWND window = hostMode == 0 ? prompt : toolChange;
        release();
        forgetHistory();
        report(hostMode, 16);
        block().promptWindow = window;
        block().toolChangeArmed = hostMode == 0;
        DWORD t0 = clock.now();
        event(0, 2);
        Deliveries clicks(hostMode == 0 ? 0 : 2, click(afterChange, t0));
        EXPECT_EQ(deliveries(), (clicks + Deliveries{{window, WM_COMMAND, 1, t0}, {window, WM_COMMAND, 6, t0}} +
                                 keyPress(window, VK_RETURN, t0 + 40)));
        EXPECT_EQ(block().toolChangeArmed, 0);
        EXPECT_EQ(block().hostMode, 0);
    }
}

TEST_F(PromptAnswers, Key1AnswersNoThenCancelOrClosesTheJiggleWindowAndTheHomingDialog) {
    HWND prompt = ncstudio.prompt("NcStudio", "Continue?");
    HWND jiggle = ncstudio.jiggleWindow();
    HWND homing = ncstudio.homingDialog();
    report(0, 16);
    event(0, 1);
    event(0, 2);
    EXPECT_TRUE(deliveries().empty()) << "a reported prompt without its window gets nothing";

    block().promptWindow = prompt;
    block().jiggleWindow = jiggle;
    block().homingDialog = homing;
    DWORD t0 = clock.now();
    event(0, 1);
    block().promptWindow = nullptr;
    report(6, 6);
    release();
    event(0, 1);
    report(5, 5);
    release();
    event(0, 1);
    EXPECT_EQ(deliveries(), (Deliveries{{prompt, WM_COMMAND, 7, t0},
                                        {prompt, WM_COMMAND, 2, t0},
                                        {jiggle, WM_CLOSE, 0, t0},
                                        {homing, WM_CLOSE, 0, t0}}));
    EXPECT_EQ(block().hostMode, 5) << "only an answered prompt ends the mode";
}
