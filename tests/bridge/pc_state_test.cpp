// SetPcState: which of NcStudio's windows is in front, the host mode put aside
// by prompts and brought back, and the calibration modes' grace reports.
#include <gtest/gtest.h>

#include "bridge/exports.h"
#include "tests/bridge/host_layouts.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::expectJogCache;
using testing_support::BridgeFixture;

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

TEST_F(PcState, ModesArePutAsideByPromptsAndBroughtBackAndCalibrationOutlastsItsGrace) {
    struct Report {
        int pcState;
        int mode, saved, reported, grace;  // afterwards
    };
    const struct {
        const char* name;
        int mode, grace;
        std::vector<Report> reports;
    } cases[] = {
        {"main window", 0, 0, {{0, 0, 0, 0, 0}}},
        {"prompt over Jiggle, then main window", 6, 0, {{16, 0, 6, 16, 0}, {0, 0, 0, 0, 0}}},
        {"parameters over homing", 5, 0, {{32, 0, 5, 16, 0}}},
        {"a second prompt keeps what was put aside", 5, 0, {{16, 0, 5, 16, 0}, {32, 0, 5, 16, 0}, {5, 5, 0, 5, 0}}},
        {"calibration grace", 2, 3, {{0, 2, 0, 2, 2}, {0, 2, 0, 2, 1}, {0, 2, 0, 2, 0}, {0, 0, 0, 0, 0}}},
        {"calibration mode 1", 1, 1, {{0, 1, 0, 1, 0}}},
        {"homing ends at the main window despite grace", 5, 2, {{0, 0, 0, 0, 2}}},
        {"calibration window", 0, 0, {{2, 2, 0, 16, 0}}},
        {"calibration window over mode 1", 1, 0, {{2, 2, 1, 16, 0}, {0, 0, 0, 0, 0}}},
        {"calibration keeps its grace over a prompt", 2, 3, {{16, 0, 2, 16, 3}, {0, 2, 0, 2, 2}}},
        {"homing dialog", 0, 0, {{5, 5, 0, 5, 0}}},
        {"an unknown state", 0, 0, {{9, 9, 0, 9, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        block().hostMode = c.mode;
        block().savedHostMode = 0;
        block().modeGrace = c.grace;
        block().reportedPcState = 16;
        block().promptWindow = main;
        for (const Report& r : c.reports) {
            SCOPED_TRACE(testing::Message() << "report " << r.pcState);
            SetPcState(prompt, r.pcState);

            EXPECT_EQ(block().hostMode, r.mode);
            EXPECT_EQ(block().savedHostMode, r.saved);
            EXPECT_EQ(block().reportedPcState, r.reported);
            EXPECT_EQ(block().modeGrace, r.grace);
            bool shown = r.pcState == 16 || r.pcState == 32 || r.pcState == 2;
            EXPECT_EQ(block().promptWindow, shown ? prompt : nullptr);
        }
    }
}

TEST_F(PcState, OnlyTheReportedKindOfWindowIsKept) {
    // No "Jiggle" window exists: the reported window stays, the cache too.
    block().jiggleButtons[bridge::kXPlus] = main;
    const struct {
        int pcState;
        HWND jiggle, homing;
    } cases[] = {{6, prompt, nullptr}, {5, nullptr, prompt}, {0, nullptr, nullptr},
                 {16, nullptr, nullptr}, {9, nullptr, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pcState);
        block().jiggleWindow = block().homingDialog = main;

        SetPcState(prompt, c.pcState);

        EXPECT_EQ(block().jiggleWindow, c.jiggle);
        EXPECT_EQ(block().homingDialog, c.homing);
    }
    EXPECT_EQ(block().jiggleButtons[bridge::kXPlus], main);
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
    expectJogCache(block().jiggleButtons, jiggle);

    for (HWND& button : block().jiggleButtons) button = nullptr;
    SetPcState(reported, 6);

    EXPECT_EQ(block().jiggleWindow, reported) << "no second caching";
    for (HWND button : block().jiggleButtons) EXPECT_EQ(button, nullptr);
    EXPECT_TRUE(clock.sleeps().empty());
    settle();
    EXPECT_TRUE(host.received().empty()) << "nothing is posted";
}
