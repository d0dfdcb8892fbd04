// Halving X or Y (keys 14 and 16), the axis button (keys 15 and 16) and Set Z
// from the safe height of generation 1 (key 7), against NcStudio's dialogs.
#include <gtest/gtest.h>

#include "work_coordinate_fixture.h"

using namespace executor_testing;
using Texts = std::vector<std::string>;

class WorkCoordinates : public WorkCoordinateFixture {};

// Machine X 100, public offset X 10, X showing 30: the offset 75 makes it 15.
TEST_F(WorkCoordinates, HalvingXInGeneration2WritesTheOffsetThatShowsHalfTheCoordinate) {
    coordinates(2, {"30.000", "8.000", "0.000"}, {"100.000", "50.000", "-50.000"}, {10, 0, 0});
    EXPECT_EQ(event(0, 14, 16, 0, kAxisX), 0);
    EXPECT_EQ(confirmed(), (Texts{"10.000", "0.000", "0.000", "75.000000", "42.000", "-50.000"}));
    EXPECT_EQ(shown(0), "15.000");
    EXPECT_EQ(clock.sleeps(), (std::vector<DWORD>{40, 40})) << "the right-click, one look for the dialog";
}

// Generation 1: the half goes into the axis's own edit; Y looks only for
// "Set current work coordinate:"; Z is never halved.
TEST_F(WorkCoordinates, HalvingInGeneration1WritesTheHalfAndLeavesZAlone) {
    coordinates(1, {"30.000", "-84.400", "7.000"}, {"0.000", "0.000", "0.000"});
    event(0, 16, 14, 0, kAxisY);
    EXPECT_EQ(confirmed(), (Texts{"30.000", "-42.200000", "7.000"}));
    EXPECT_EQ(shown(1), "-42.200");
    forgetHistory();
    event(0, 14, 16, 0, kAxisZ);
    event(0, 14, 0, 0, kAxisX);
    EXPECT_TRUE(deliveries().empty());
}

// Halving Y in generation 1 against "Offset Setting": after the right-click
// 50 looks of 40 ms, then nothing more.
TEST_F(WorkCoordinates, ADialogThatNeverOpensEndsTheCommandAfterFiftyLooks) {
    coordinates(2, {"30.000", "8.000", "0.000"});
    block().hostGeneration = 1;
    DWORD t0 = clock.now();
    event(0, 14, 16, 0, kAxisY);
    EXPECT_EQ(deliveries(), rightClick(panel.workCoordinates[1], t0));
    EXPECT_EQ(clock.sleeps(), std::vector<DWORD>(51, 40));
    EXPECT_EQ(dialogs->opened(), 1);
    EXPECT_TRUE(dialogs->confirmedEdits().empty());
}

// Without "Public Offset" the public offsets are the edits 6 to 8; Z's offset
// is computed from this dialog's public offset Z, not from an earlier one.
TEST_F(WorkCoordinates, WithoutThePublicOffsetLabelTheDialogsOwnPublicOffsetIsUsed) {
    block().toolSetterEnabled = 1;
    block().toolSetActive = 1;
    block().probeCount = 19;
    block().publicOffset[2] = 99.0;  // from an earlier dialog
    coordinates(2, {"0.000", "0.000", "0.000"}, {"0.000", "0.000", "-50.000"}, {0, 0, -5},
                standin::OffsetLayout::WithoutPublicOffsetLabel);
    event(0, 51);
    EXPECT_EQ(confirmed()[5], "-79.4000");
    EXPECT_EQ(shown(2), "34.400");
}

// The back-to-reference dialog's axis button (passing over empty captions),
// or none; otherwise the axis's coordinate button; a busy machine ends the
// event.
TEST_F(WorkCoordinates, TheAxisButtonIsTheHomingDialogsOrTheCoordinatePanels) {
    coordinates(2);
    HWND homing = ncstudio.homingDialog({"", "&All Axes", "&X Axis", "&Z Axis"});
    block().homingDialog = homing;
    report(5, 5);
    DWORD t0 = clock.now();
    EXPECT_EQ(event(0, 15, 16, 0, kAxisZ), 0);
    EXPECT_EQ(event(0, 16, 15, 0, kAxisY), 0) << "no Y button: nothing clicked, the event goes on";
    report(0, 0);
    release(kAxisY);
    EXPECT_EQ(event(0, 16, 15, 0, kAxisY), 0);
    block().machineState = 1;
    EXPECT_EQ(event(0, 15, 16, 0, kAxisX), 1);
    EXPECT_EQ(deliveries(), (Deliveries{click(FindWindowExA(homing, nullptr, nullptr, "&Z Axis"), t0),
                                        click(panel.workCoordinates[1], t0)}));
}

// The safe height from the label chain goes into the third edit.
TEST_F(WorkCoordinates, Key7InGeneration1WritesTheSafeHeightIntoTheThirdEdit) {
    coordinates(1, {"1.000", "2.000", "3.000"}, {});
    HWND safeHeight = standin::safeHeightPage(ncstudio, page, "25.000");
    EXPECT_EQ(event(0, 7, 0, 0, kAxisX), 1);
    EXPECT_EQ(confirmed(), (Texts{"1.000", "2.000", "25.000"}));
    EXPECT_EQ(shown(2), "25.000");

    ncstudio.setText(safeHeight, "");
    release(kAxisX);
    forgetHistory();
    EXPECT_EQ(event(0, 7, 0, 0, kAxisX), 1);
    EXPECT_TRUE(deliveries().empty()) << "no safe height shown: no dialog";
}
