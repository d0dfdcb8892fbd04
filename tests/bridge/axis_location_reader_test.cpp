// GetAxisLocation: the LocationText from NcStudio's coordinate panel, the
// machine coordinates, the ON/OFF reading and the feed and spindle fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
        std::memset(buffer, '#', sizeof buffer);
        block().machineState = 0;  // idle (the block starts out RUNNING)
    }

    // A bound main window with the coordinate panel of `generation`.
    CoordinatePanelWindows buildPanel(int generation, const CoordinatePanelTexts& texts) {
        HWND main = ncstudio.mainWindow();
        bindTo(main);
        block().hostGeneration = generation;
        std::memset(machineCoordText, 0, sizeof machineCoordText);
        return generation == 1 ? ncstudio.coordinatePanelGeneration1(main, texts)
                               : ncstudio.coordinatePanelGeneration2(main, texts);
    }

    // Reads with the axis knob on `knob`; the written text, or "(none)".
    std::string read(BYTE knob) {
        block().axisKnobCode = knob;
        result = GetAxisLocation(buffer);
        return result ? std::string(buffer) : "(none)";
    }

    char buffer[1024];
    int result = -1;
};

TEST_F(AxisLocationReader, TextOfEachKnobAndTheMachineCoordinatesKept) {
    using Texts = std::vector<std::string>;
    const struct {
        const char* name;
        int generation;
        Texts work, machine, overrides;  // work coordinates not given read 0.000
        BYTE showMachineCoords;
        std::vector<std::pair<BYTE, const char*>> reads;
        const char* kept[3];  // machineCoordText afterwards
    } cases[] = {
        {"work coordinates, an empty one reads 0.0", 1, {"12.500", "3.000", ""}, {}, {}, 0,
         {{17, "X:12.500:0:0:"}, {18, "Y:3.000:0:0:"}, {19, "Z:0.0:0:0:"}, {0, ":0:0:"}}, {"", "", ""}},
        {"generation 2 keeps all three", 2, {"7.000"}, {"100.000", "50.000", "-2.000"}, {}, 1,
         {{17, "X:100.000:0:0:"}, {19, "Z:-2.000:0:0:"}}, {"100.000", "50.000", "-2.000"}},
        {"generation 1 keeps only the selected axis", 1, {}, {"1.000", "2.500", "3.000"}, {}, 0,
         {{18, "Y:0.000:0:0:"}}, {"", "2.500", ""}},
        {"generation 1 shows the selected axis", 1, {}, {"1.000", "2.500", "3.000"}, {}, 1,
         {{18, "Y:2.500:0:0:"}}, {"", "2.500", ""}},
        {"no digit after the dot: shown, not kept", 2, {}, {"1.000", "--.---", "3.000"}, {}, 1,
         {{18, "Y:--.---:0:0:"}}, {"1.000", "", "3.000"}},
        {"no dotted static: the value field is left out", 1, {}, {}, {}, 1, {{17, "X:0:0:"}}, {"", "", ""}},
        {"generation 1 overrides: the first percent", 1, {}, {}, {"100%", "0", "18000", "80%"}, 0,
         {{21, "Feed Adjust: :100%:18000:"}, {22, "Lead: :100%:18000:"}, {20, "Spin Adjust: :0:18000:"},
          {0, ":0:18000:"}},
         {"", "", ""}},
        {"generation 2 overrides: the second percent", 2, {}, {}, {"100%", "18000", "1200", "80%"}, 0,
         {{21, "Feed Adjust: :80%:18000:"}, {17, "X:0.000:1200:18000:"}}, {"", "", ""}},
        {"the walk ends at the second percent", 1, {}, {}, {"100%", "80%", "0", "18000"}, 0,
         {{21, "Feed Adjust: :100%:0:"}, {17, "X:0.000:0:0:"}}, {"", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CoordinatePanelTexts texts;
        for (size_t axis = 0; axis < c.work.size(); ++axis) texts.workCoordinates[axis] = c.work[axis];
        texts.machineCoordinates = c.machine;
        texts.overrideTexts = c.overrides;
        buildPanel(c.generation, texts);
        block().showMachineCoords = c.showMachineCoords;
        block().spindleText = "9:";
        for (const auto& [knob, text] : c.reads) EXPECT_EQ(read(knob), text) << "knob " << int(knob);
        for (int axis = 0; axis < 3; ++axis) EXPECT_STREQ(machineCoordText[axis], c.kept[axis]) << axis;
    }
}

TEST_F(AxisLocationReader, WritesTheTextWithItsNulAndNothingAfter) {
    buildPanel(1, CoordinatePanelTexts{});

    EXPECT_EQ(read(17), "X:0.000:0:0:");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(buffer[std::strlen(buffer) + 1], '#');
    EXPECT_EQ(GetAxisLocation(nullptr), 0);
}

TEST_F(AxisLocationReader, Generation1LearnsTheFeedPositionWhileIdleAndGoesByItWhileRunning) {
    CoordinatePanelTexts texts;
    texts.overrideTexts = {"100%", "0", "18000", "80%"};
    CoordinatePanelWindows panel = buildPanel(1, texts);
    block().feedFieldIndex = 5;

    EXPECT_EQ(read(21), "Feed Adjust: :100%:18000:");
    EXPECT_EQ(block().feedFieldIndex, 0);
    EXPECT_EQ(block().feedText, "0:");
    EXPECT_EQ(block().spindleText, "18000:");

    ncstudio.setText(panel.overrideTexts[1], "1500");
    block().machineState = 1;  // RUNNING
    EXPECT_EQ(read(17), "X:0.000:1500:18000:");

    block().machineState = 0;  // idle again: a non-zero text is the spindle
    EXPECT_EQ(read(17), "X:0.000:0:18000:");
}

TEST_F(AxisLocationReader, OnOffButtonIsReadAndGeneration2FindsTheFeedButton) {
    CoordinatePanelTexts texts;
    texts.onOff = "ON";
    CoordinatePanelWindows panel = buildPanel(2, texts);

    read(17);
    EXPECT_EQ(block().onOffShown, 1);
    EXPECT_EQ(block().feedButton, panel.commandSetButton);

    ncstudio.setText(panel.onOff, "OFF");
    read(17);
    EXPECT_EQ(block().onOffShown, 0);
}

TEST_F(AxisLocationReader, MissingPanelGivesTheBareLabelOrNothing) {
    bindTo(ncstudio.mainWindow());
    block().feedText = "7:";

    EXPECT_EQ(read(19), "Z:");
    EXPECT_EQ(result, 1);

    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(read(20), "(none)");
    EXPECT_EQ(buffer[0], '#') << "buffer untouched";
    EXPECT_EQ(block().feedText, "7:") << "kept when the panel is missing";
}
