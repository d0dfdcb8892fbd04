// GetMaStep: the StepWord from the manual page's checked step radio button or
// from the "Jiggle" window's step label.
#include <gtest/gtest.h>

#include <vector>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::childWithText;
using bridge_tests::manualPageWithButtons;
using standin::StepCaptions;
using testing_support::BridgeFixture;

class StepReader : public BridgeFixture {
protected:
    // A bound main window whose manual page shows the reader's captions with
    // the one at `checked` checked (-1: none).
    void buildManualPage(int checked) {
        main = ncstudio.mainWindow();
        page = manualPageWithButtons(ncstudio, main, StepCaptions::Reading, checked);
        bindTo(main);
        block().jogButtonsReady = 1;
    }

    // A "Jiggle" window in front, with step labels after its own caption.
    void buildJiggleWindow(const std::vector<const char*>& labels) {
        HWND jiggle = ncstudio.jiggleWindow();
        for (const char* text : labels) ncstudio.label(jiggle, text);
        block().jiggleWindow = jiggle;
        block().hostMode = 6;
    }

    void check(const char* caption) {
        for (const std::string& step : standin::stepCaptions(StepCaptions::Reading))
            ncstudio.setChecked(childWithText(page, step.c_str()), false);
        if (caption) ncstudio.setChecked(childWithText(page, caption), true);
    }

    size_t chordsPosted() {
        settle();
        return host.received(WM_KEYDOWN).size();
    }

    HWND main = nullptr;
    HWND page = nullptr;
};

TEST_F(StepReader, CheckedCaptionGivesTheWordAndStepIndex) {
    const struct {
        const char* checked;
        int word, stepIndex;
    } steps[] = {
        {"0.01mm", 0x101, 1},   {"0.05mm", 0x502, 2},   {"0.1 mm", 0xA03, 3}, {"1   mm", 0x10008, 5},
        {"5   mm", 0x50009, 6}, {"10  mm", 0xA000A, 7}, {"&Jog", 0, 0},       {"0.5 mm", 0x3207, 4},
        {nullptr, 0x320A, -1},  // none checked: code 10, the previous step size
        {"&HW", 0xA, -1},       // unknown: code 10, the step index kept
    };
    buildManualPage(-1);
    ncstudio.radio(page, "&HW", false);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.checked ? step.checked : "none");
        check(step.checked);
        block().stepIndex = -1;

        EXPECT_EQ(GetMaStep(), step.word);
        EXPECT_EQ(block().stepIndex, step.stepIndex);
    }
}

TEST_F(StepReader, OverrideKnobLeavesOnlyCodeAndMode) {
    buildManualPage(4);  // "0.5 mm"
    for (BYTE knob : {20, 21}) {
        block().axisKnobCode = knob;
        EXPECT_EQ(GetMaStep(), 0x7) << int(knob);
    }
    block().axisKnobCode = 17;
    EXPECT_EQ(GetMaStep(), 0x3207);
}

TEST_F(StepReader, MissingWindowGivesCodeTenWithModeAndLastStepSize) {
    main = ncstudio.mainWindow();
    bindTo(main);
    block().stepText = "0.05";
    block().hostMode = 5;
    EXPECT_EQ(GetMaStep(), 0x55A) << "no manual page";

    block().hostMode = 6;
    block().jiggleWindow = nullptr;
    EXPECT_EQ(GetMaStep(), 0x56A) << "no Jiggle window";
}

TEST_F(StepReader, ChangedCodeRecachesTheJogButtonsOnceWhenNotReady) {
    buildManualPage(1);
    block().jogButtonsReady = 0;
    block().lastStepCode = 15;
    host.clearReceived();

    GetMaStep();
    EXPECT_EQ(chordsPosted(), 1u);
    EXPECT_EQ(block().jogButtonsReady, 1);
    EXPECT_EQ(block().lastStepCode, 1);
    EXPECT_NE(block().jogButtons[bridge::kXPlus], nullptr);

    check("0.1 mm");
    GetMaStep();
    EXPECT_EQ(block().lastStepCode, 3);
    EXPECT_EQ(chordsPosted(), 1u) << "jog buttons were ready";

    block().jogButtonsReady = 0;
    GetMaStep();
    EXPECT_EQ(chordsPosted(), 1u) << "the code did not change";
}

TEST_F(StepReader, JiggleLabelsGiveTheirWords) {
    const struct {
        std::vector<const char*> labels;
        int word;
    } cases[] = {
        {{"0.20mm"}, 0x1464},  {{"5.00mm"}, 0x50069}, {{"Step 0.01mm"}, 0x161}, {{"10.00mm"}, 0xA006A},
        {{"1.00mm"}, 0x10068}, {{"0.75mm"}, 0x6A},  // unknown: whole mm only
        {{"Step:", "0.30mm"}, 0x1E65},              // no digit: skipped
        {{"Step 2"}, 0x6A},                         // a digit but no size
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.labels.back());
        buildJiggleWindow(c.labels);
        block().stepIndex = 2;
        block().lastStepCode = 2;
        block().stepText = "0.5";

        EXPECT_EQ(GetMaStep(), c.word);
        EXPECT_EQ(block().stepIndex, 2) << "untouched in the Jiggle window";
        EXPECT_EQ(block().lastStepCode, 2) << "untouched in the Jiggle window";
    }
}

TEST_F(StepReader, ToolSetSequenceForcesCalibrationMode) {
    buildManualPage(1);
    block().toolSetActive = 1;

    EXPECT_EQ(GetMaStep(), 0x121);
    EXPECT_EQ(block().hostMode, 2);
    EXPECT_EQ(block().reportedPcState, 2);
}
