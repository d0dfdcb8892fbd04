// The status readers while another thread holds the bridge mutex for longer
// than they wait: each gives up with its time-out result and reads nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "bridge/exports.h"
#include "tests/support/bridge_fixture.h"
#include "tests/support/mutex_holder.h"

using bridge::block;
using testing_support::BridgeFixture;
using testing_support::MutexHolder;

class StatusReaderTimeout : public BridgeFixture {};

TEST_F(StatusReaderTimeout, EachReaderGivesUpWithItsLastValueAndReadsNothing) {
    // NcStudio shows something other than what the block holds, so that a
    // read that went ahead would show.
    HWND main = ncstudio.mainWindow();
    ncstudio.statusDialog(main, "RUNNING");
    ncstudio.standardManualButtons(ncstudio.manualPage(main), standin::StepCaptions::Reading, 4);
    ncstudio.coordinatePanelGeneration1(main, standin::CoordinatePanelTexts{});
    bindTo(main);
    block().machineState = 0x502;
    block().lastStepCode = 3;
    block().hostMode = 6;
    block().stepText = "0.1";
    block().axisKnobCode = 17;
    block().feedText = "5:";
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    MutexHolder holder;

    EXPECT_EQ(GetMaState(main), 0x502);
    EXPECT_EQ(block().machineState, 0x502);
    EXPECT_EQ(GetMaStep(), 3) << "the last code alone";
    EXPECT_EQ(block().lastStepCode, 3);
    EXPECT_EQ(GetAxisLocation(buffer), 0);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(block().feedText, "5:");
}
