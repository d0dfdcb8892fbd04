// GetMaStep: the StepWord from the manual page's checked step radio button or
// from the "Jiggle" window's step label.
#include <gtest/gtest.h>

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
    void buildJiggleWindow(std::initializer_list<const char*> labels) {
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

TEST_F(StepReader, ManualPageCaptionsGiveTheirWordsAndStepIndex) {
    const struct {
        int checked;
        int word;
    } steps[] = {{1, 0x101},   {2, 0x502},    {3, 0xA03},   {4, 0x3207},
                 {5, 0x10008}, {6, 0x50009}, {7, 0xA000A}, {0, 0}};
    buildManualPage(-1);
    for (const auto& step : steps) {
        const std::string& caption = standin::stepCaptions(StepCaptions::Reading)[step.checked];
        check(caption.c_str());
        block().stepIndex = -1;

        EXPECT_EQ(GetMaStep(), step.word) << caption;
        EXPECT_EQ(block().stepIndex, step.checked) << caption;
    }
}

TEST_F(StepReader, UnknownCaptionGivesCodeTenAndKeepsTheStepIndex) {
    buildManualPage(-1);
    ncstudio.radio(page, "&HW", true);
    block().stepIndex = 3;

    EXPECT_EQ(GetMaStep(), 0xA);
    EXPECT_EQ(block().stepIndex, 3);
    EXPECT_EQ(block().lastStepCode, 10);
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

TEST_F(StepReader, NoCheckedButtonKeepsThePreviousStepSize) {
    buildManualPage(4);  // "0.5 mm"
    ASSERT_EQ(GetMaStep(), 0x3207);

    check(nullptr);

    EXPECT_EQ(GetMaStep(), 0x320A);
    EXPECT_EQ(block().stepText, "0.5");
}

TEST_F(StepReader, MissingManualPageGivesCodeTenWithModeAndLastStepSize) {
    main = ncstudio.mainWindow();
    bindTo(main);
    block().stepText = "0.05";
    block().hostMode = 5;

    EXPECT_EQ(GetMaStep(), 0x55A);
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
        const char* label;
        int word;
    } labels[] = {{"0.20mm", 0x1464},  {"5.00mm", 0x50069}, {"Step 0.01mm", 0x161},
                  {"10.00mm", 0xA006A}, {"1.00mm", 0x10068}, {"0.75mm", 0x6A}};  // unknown: whole mm only
    for (const auto& label : labels) {
        buildJiggleWindow({label.label});
        block().stepIndex = 2;
        block().lastStepCode = 2;

        EXPECT_EQ(GetMaStep(), label.word) << label.label;
        EXPECT_EQ(block().stepIndex, 2) << "untouched in the Jiggle window";
        EXPECT_EQ(block().lastStepCode, 2) << "untouched in the Jiggle window";
    }
}

TEST_F(StepReader, JiggleLabelWithoutDigitIsSkipped) {
    buildJiggleWindow({"Step:", "0.30mm"});
    EXPECT_EQ(GetMaStep(), 0x1E65);
}

TEST_F(StepReader, JiggleWithoutStepSizeGivesCodeTen) {
    buildJiggleWindow({"Step 2"});  // a digit but no size
    block().stepText = "0.5";
    EXPECT_EQ(GetMaStep(), 0x6A);

    block().jiggleWindow = nullptr;
    block().stepText = "0.5";
    EXPECT_EQ(GetMaStep(), 0x326A) << "no window: the last step size stays";
}

TEST_F(StepReader, ToolSetSequenceForcesCalibrationMode) {
    buildManualPage(1);
    block().toolSetActive = 1;

    EXPECT_EQ(GetMaStep(), 0x121);
    EXPECT_EQ(block().hostMode, 2);
    EXPECT_EQ(block().reportedPcState, 2);
}

TEST_F(StepReader, StepSizeOutsideItsFieldStaysInItsBits) {
    buildManualPage(-1);
    HWND large = ncstudio.radio(page, "300mm", true);
    EXPECT_EQ(GetMaStep(), 0xFF000A) << "whole part held at 255";

    ncstudio.setChecked(large, false);
    ncstudio.radio(page, "-1.-5mm", true);
    EXPECT_EQ(GetMaStep(), 0xA) << "negative parts read as 0";

    block().hostMode = 0x16;  // a mode the driver never reports
    EXPECT_EQ(GetMaStep(), 0x6A) << "the mode stays within bits 4-7";
}
