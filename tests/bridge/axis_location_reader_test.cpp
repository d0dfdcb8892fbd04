// GetAxisLocation: the LocationText from NcStudio's coordinate panel, the
// machine coordinates, the ON/OFF reading and the feed and spindle fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bridge/exports.h"
#include "bridge/machine_coord_text.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge::machineCoordText;
using standin::CoordinatePanelTexts;
using standin::CoordinatePanelWindows;
using testing_support::BridgeFixture;

class AxisLocationReader : public BridgeFixture {
protected:
    void SetUp() override {
        BridgeFixture::SetUp();
        std::memset(machineCoordText, 0, sizeof machineCoordText);
        std::memset(buffer, '#', sizeof buffer);
        main = ncstudio.mainWindow();
        bindTo(main);
    }

    CoordinatePanelWindows buildPanel(int generation, const CoordinatePanelTexts& texts) {
        block().hostGeneration = generation;
        return generation == 1 ? ncstudio.coordinatePanelGeneration1(main, texts)
                               : ncstudio.coordinatePanelGeneration2(main, texts);
    }

    // Reads with the axis knob on `knob`; the written text, or "(none)".
    std::string read(BYTE knob) {
        block().axisKnobCode = knob;
        result = GetAxisLocation(buffer);
        return result ? std::string(buffer) : "(none)";
    }

    static CoordinatePanelTexts overridePanel() {
        CoordinatePanelTexts texts;
        texts.overrideTexts = {"100%", "0", "18000", "80%"};
        return texts;
    }

    HWND main = nullptr;
    char buffer[1024];
    int result = -1;
};

TEST_F(AxisLocationReader, WorkCoordinateOfTheSelectedAxis) {
    CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "12.500";
    texts.workCoordinates[1] = "3.000";
    texts.workCoordinates[2] = "";
    texts.machineCoordinates = {};
    buildPanel(1, texts);

    EXPECT_EQ(read(17), "X:12.500:0:0:");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(std::strlen(buffer), 13u);
    EXPECT_EQ(buffer[14], '#') << "nothing written after the NUL";
    EXPECT_EQ(read(18), "Y:3.000:0:0:");
    EXPECT_EQ(read(19), "Z:0.0:0:0:") << "an empty coordinate reads as 0.0";
}

TEST_F(AxisLocationReader, MachineCoordinatesInGeneration2FillAllThreeTexts) {
    CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "7.000";
    texts.machineCoordinates = {"100.000", "50.000", "-2.000"};
    buildPanel(2, texts);
    block().showMachineCoords = 1;

    EXPECT_EQ(read(17), "X:100.000:0:0:");
    EXPECT_STREQ(machineCoordText[0], "100.000");
    EXPECT_STREQ(machineCoordText[1], "50.000");
    EXPECT_STREQ(machineCoordText[2], "-2.000");
    EXPECT_EQ(read(19), "Z:-2.000:0:0:");
}

TEST_F(AxisLocationReader, MachineCoordinatesInGeneration1FillOnlyTheSelectedAxis) {
    CoordinatePanelTexts texts;
    texts.machineCoordinates = {"1.000", "2.500", "3.000"};
    buildPanel(1, texts);

    EXPECT_EQ(read(18), "Y:0.000:0:0:") << "work coordinates shown";
    EXPECT_STREQ(machineCoordText[0], "");
    EXPECT_STREQ(machineCoordText[1], "2.500");
    EXPECT_STREQ(machineCoordText[2], "");

    block().showMachineCoords = 1;
    EXPECT_EQ(read(18), "Y:2.500:0:0:");
}

TEST_F(AxisLocationReader, DottedTextWithoutDigitAfterTheDotIsShownButNotKept) {
    CoordinatePanelTexts texts;
    texts.machineCoordinates = {"1.000", "--.---", "3.000"};
    buildPanel(2, texts);
    std::strcpy(machineCoordText[1], "9.000");
    block().showMachineCoords = 1;

    EXPECT_EQ(read(18), "Y:--.---:0:0:");
    EXPECT_STREQ(machineCoordText[1], "9.000");
    EXPECT_STREQ(machineCoordText[2], "3.000");
}

TEST_F(AxisLocationReader, NoDottedStaticLeavesTheValueFieldOut) {
    CoordinatePanelTexts texts;
    texts.machineCoordinates = {};
    buildPanel(1, texts);
    block().showMachineCoords = 1;

    EXPECT_EQ(read(17), "X:0:0:");
}

TEST_F(AxisLocationReader, FeedOverrideInGeneration1ShowsTheFirstPercentAndLearnsTheFeed) {
    buildPanel(1, overridePanel());
    block().machineState = 0;  // idle (the block starts out RUNNING)
    block().feedFieldIndex = 5;

    EXPECT_EQ(read(21), "Feed Adjust: :100%:18000:");
    EXPECT_EQ(block().feedFieldIndex, 0);
    EXPECT_EQ(block().feedText, "0:");
    EXPECT_EQ(block().spindleText, "18000:");
    EXPECT_EQ(read(22), "Lead: :100%:18000:");
    EXPECT_EQ(read(20), "Spin Adjust: :0:18000:") << "no percent for the spindle";
    EXPECT_EQ(read(0), ":0:18000:");
}

TEST_F(AxisLocationReader, RunningGeneration1GoesByTheLearntFeedPosition) {
    CoordinatePanelWindows panel = buildPanel(1, overridePanel());
    block().machineState = 0;
    block().feedFieldIndex = 1;
    ASSERT_EQ(read(17), "X:0.000:0:18000:");

    ncstudio.setText(panel.overrideTexts[1], "1500");
    block().machineState = 1;  // RUNNING
    EXPECT_EQ(read(17), "X:0.000:1500:18000:");

    block().machineState = 0;  // idle again: a non-zero text is the spindle
    EXPECT_EQ(read(17), "X:0.000:0:18000:");
}

TEST_F(AxisLocationReader, Generation2ShowsTheSecondPercentAndFindsTheFeedButton) {
    CoordinatePanelTexts texts;
    texts.overrideTexts = {"100%", "18000", "1200", "80%"};
    CoordinatePanelWindows panel = buildPanel(2, texts);

    EXPECT_EQ(read(21), "Feed Adjust: :80%:18000:");
    EXPECT_EQ(read(17), "X:0.000:1200:18000:");
    EXPECT_EQ(block().feedButton, panel.commandSetButton);
}

TEST_F(AxisLocationReader, OverrideWalkEndsAtTheSecondPercentText) {
    CoordinatePanelTexts texts;
    texts.overrideTexts = {"100%", "80%", "0", "18000"};
    buildPanel(1, texts);
    block().spindleText = "9:";

    EXPECT_EQ(read(21), "Feed Adjust: :100%:0:");
    EXPECT_EQ(read(17), "X:0.000:0:0:");
}

TEST_F(AxisLocationReader, OnOffButtonIsRead) {
    CoordinatePanelTexts texts;
    texts.onOff = "ON";
    CoordinatePanelWindows panel = buildPanel(1, texts);

    read(17);
    EXPECT_EQ(block().onOffShown, 1);

    ncstudio.setText(panel.onOff, "OFF");
    read(17);
    EXPECT_EQ(block().onOffShown, 0);
}

TEST_F(AxisLocationReader, NoAxisSelectedGivesEmptyLabel) {
    buildPanel(1, CoordinatePanelTexts{});

    EXPECT_EQ(read(0), ":0:0:");
    EXPECT_EQ(result, 1);
}

TEST_F(AxisLocationReader, MissingPanelGivesTheBareLabelOrNothing) {
    block().feedText = "7:";

    EXPECT_EQ(read(19), "Z:");
    EXPECT_EQ(result, 1);

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(read(20), "(none)");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(buffer[0], '#') << "buffer untouched";
    EXPECT_EQ(block().feedText, "7:") << "kept when the panel is missing";
}

TEST_F(AxisLocationReader, NullBufferWritesNothing) {
    buildPanel(1, CoordinatePanelTexts{});
    block().axisKnobCode = 17;

    EXPECT_EQ(GetAxisLocation(nullptr), 0);
}
