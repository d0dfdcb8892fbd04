// The status readers keep what they learnt of NcStudio's windows from one
// poll to the next. Whatever NcStudio changes between two polls, the next
// poll reads what a full walk over NcStudio's windows reads then.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/bridge/host_layouts.h"
#include "tests/bridge/poll_reading.h"
#include "tests/support/bridge_fixture.h"

using bridge::block;
using bridge_tests::Reading;
using bridge_tests::childWithText;
using standin::CoordinatePanelTexts;
using standin::CoordinatePanelWindows;
using testing_support::BridgeFixture;

namespace {

// The receivers of BM_GETCHECK on the hooked thread.
std::vector<HWND> checkAsked;

LRESULT CALLBACK recordCheckAsked(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == BM_GETCHECK) checkAsked.push_back(message->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

class KeptWalks : public BridgeFixture {
protected:
    void SetUp() override {
        BridgeFixture::SetUp();
        host.invoke([this] {
            hook = SetWindowsHookExA(WH_CALLWNDPROC, recordCheckAsked, nullptr, GetCurrentThreadId());
        });
    }

    void TearDown() override {
        host.invoke([this] { UnhookWindowsHookEx(hook); });
        BridgeFixture::TearDown();
    }

    // NcStudio of generation 2 with every window the readers look at (work
    // coordinates 1.000, 2.000, 0.000, machine coordinates 1.500, 2.500,
    // 3.500), "0.5 mm" checked; the walks are then kept by two polls.
    void build(const CoordinatePanelTexts& texts, int generation = 2) {
        main = ncstudio.mainWindow();
        bindTo(main);
        block().hostGeneration = generation;
        block().axisKnobCode = 17;
        block().jogButtonsReady = 1;
        block().machineState = 0;
        std::memset(bridge::machineCoordText, 0, sizeof bridge::machineCoordText);
        CoordinatePanelTexts distinct = texts;
        distinct.workCoordinates[0] = "1.000";
        distinct.workCoordinates[1] = "2.000";
        distinct.machineCoordinates = {"1.500", "2.500", "3.500"};
        panel = generation == 2 ? ncstudio.coordinatePanelGeneration2(main, distinct)
                                : ncstudio.coordinatePanelGeneration1(main, distinct);
        page = bridge_tests::manualPageWithButtons(ncstudio, main, standin::StepCaptions::Reading, 4);
        status = ncstudio.statusDialog(main, "IDLE");
        bridge::forgetKeptWalks();
        poll();
        poll();
    }

    Reading poll() { return bridge_tests::poll(main); }
    std::pair<Reading, Reading> pollKeptAndFull() { return bridge_tests::pollKeptAndFull(main); }

    HWND step(const char* caption) { return childWithText(page, caption); }

    // Moves `window` under `parent`, after `after` in its child order (first
    // when nullptr), as a panel dragged off and docked again moves.
    void move(HWND window, HWND parent, HWND after = nullptr) {
        host.invoke([&] {
            SetParent(window, parent);
            SetWindowPos(window, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        });
    }

    HWND main = nullptr;
    HWND page = nullptr;
    HWND status = nullptr;
    CoordinatePanelWindows panel;
    HHOOK hook = nullptr;
};

TEST_F(KeptWalks, UnchangedNcStudioIsAskedForTheCheckStatesOfTheStepRadiosUpToTheCheckedOne) {
    CoordinatePanelTexts texts;
    texts.overrideTexts = {"100%", "0", "2000", "24000", "80%"};
    build(texts);

    checkAsked.clear();
    auto [kept, full] = pollKeptAndFull();
    EXPECT_EQ(kept, full);
    EXPECT_EQ(kept.location, "X:1.000:2000:24000:");
    EXPECT_EQ(kept.stepWord, 0x3207);
    // An earlier radio may show checked too, and then it is the step: each
    // poll asks them in order; push buttons have no check state to ask.
    const std::vector<HWND> radiosUpToChecked = {step("&Jog"), step("0.01mm"), step("0.05mm"), step("0.1 mm"),
                                                 step("0.5 mm")};
    ASSERT_EQ(checkAsked.size(), 2 * radiosUpToChecked.size());
    const std::vector<HWND> keptAsked(checkAsked.begin(), checkAsked.begin() + radiosUpToChecked.size());
    const std::vector<HWND> fullAsked(checkAsked.begin() + radiosUpToChecked.size(), checkAsked.end());
    EXPECT_EQ(keptAsked, radiosUpToChecked);
    EXPECT_EQ(fullAsked, radiosUpToChecked);
}

TEST_F(KeptWalks, ChangeBetweenPollsIsReadAsAFullWalkReadsIt) {
    using Change = std::function<void()>;
    const struct {
        const char* name;
        std::vector<std::string> overrideTexts;
        Change change;
        bool shows = true;  // the poll reads otherwise than before the change
        int generation = 2;
    } cases[] = {
        {"the checked step moves on", {}, [this] {
             ncstudio.setChecked(step("0.5 mm"), false);
             ncstudio.setChecked(step("5   mm"), true);
         }},
        {"the checked step moves back", {}, [this] {
             ncstudio.setChecked(step("0.5 mm"), false);
             ncstudio.setChecked(step("0.01mm"), true);
         }},
        {"no step is checked", {}, [this] { ncstudio.setChecked(step("0.5 mm"), false); }},
        {"the checked step's caption changes", {}, [this] { ncstudio.setText(step("0.5 mm"), "1   mm"); }},
        {"the checked step button is destroyed", {}, [this] { ncstudio.destroy(step("0.5 mm")); }},
        {"the manual page is re-created with another step", {}, [this] {
             ncstudio.destroy(GetParent(page));
             page = bridge_tests::manualPageWithButtons(ncstudio, main, standin::StepCaptions::Reading, 7);
         }},
        {"the status text changes", {}, [this] { ncstudio.setText(status, "RUNNING"); }},
        {"the status dialog closes (the run state stays)", {},
         [this] { ncstudio.destroy(GetParent(status)); }, false},
        {"the status dialog opens anew", {}, [this] {
             ncstudio.destroy(GetParent(GetParent(status)));
             status = ncstudio.statusDialog(main, "PAUSING");
         }},
        {"the X coordinate changes", {}, [this] { ncstudio.setText(panel.workCoordinates[0], "-5.250"); }},
        {"the X coordinate button is destroyed", {}, [this] {
             ncstudio.destroy(panel.workCoordinates[0]);
         }},
        {"the button after the slider is destroyed (ON/OFF is then not found)", {}, [this] {
             ncstudio.destroy(panel.afterSlider);
             block().onOffShown = 1;
         }, false},
        {"ON/OFF turns ON", {}, [this] { ncstudio.setText(panel.onOff, "ON"); }},
        {"a machine coordinate changes", {}, [this] {
             ncstudio.setText(panel.machineCoordinates[0], "12.500");
         }},
        {"the label M. Coor. is destroyed (Z is then not reached)", {}, [this] {
             ncstudio.destroy(childWithText(panel.panel, "M. Coor."));
             std::memset(bridge::machineCoordText, 0, sizeof bridge::machineCoordText);
         }},
        {"a speed text empties", {"100%", "0", "2000", "24000", "80%"}, [this] {
             ncstudio.setText(panel.overrideTexts[1], "");
         }},
        {"a speed text is added after the last", {"100%", "0"}, [this] {
             ncstudio.label(panel.panel, "18000");
         }},
        {"the coordinate panel is re-created", {}, [this] {
             ncstudio.destroy(panel.panel);
             CoordinatePanelTexts texts;
             texts.workCoordinates[0] = "7.000";
             texts.overrideTexts = {"90%", "1500", "3000"};
             panel = ncstudio.coordinatePanelGeneration2(main, texts);
         }},
        {"generation 1: the feed reads 0 elsewhere, which moves the learnt feed", {"0", "18000", "100%"},
         [this] {
             ncstudio.setText(panel.overrideTexts[0], "18000");
             ncstudio.setText(panel.overrideTexts[1], "0");
         }, true, 1},
        {"generation 1: the X machine coordinate static is destroyed (Y's is taken)", {},
         [this] { ncstudio.destroy(panel.machineCoordinates[0]); }, true, 1},
        {"the Y machine coordinate static moves to the manual page (Z's is taken)", {},
         [this] { move(panel.machineCoordinates[1], page); }},
        {"the X machine coordinate static moves away and back: first child now", {}, [this] {
             move(panel.machineCoordinates[0], page);
             move(panel.machineCoordinates[0], panel.panel);
         }},
        {"a step radio moves to the top of the coordinate panel", {}, [this] {
             move(step("0.5 mm"), panel.panel);
         }},
        {"generation 1: the spindle static moves away", {"100%", "0", "18115"},
         [this] { move(panel.overrideTexts[2], page); }, true, 1},
        {"the X and Y coordinate buttons swap places", {}, [this] {
             move(panel.workCoordinates[1], panel.panel, childWithText(panel.panel, "X:"));
         }},
        {"a button is inserted before the X coordinate button", {}, [this] {
             move(ncstudio.button(panel.panel, "55.555"), panel.panel, childWithText(panel.panel, "X:"));
         }},
        {"a static is inserted between the status caption and its text", {}, [this] {
             move(ncstudio.label(GetParent(status), "PAUSING"), GetParent(status),
                  childWithText(GetParent(status), "Status:"));
         }},
        {"two step radios are checked: the first in child order is the step", {}, [this] {
             ncstudio.setChecked(step("0.05mm"), true);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CoordinatePanelTexts texts;
        texts.overrideTexts = c.overrideTexts;
        build(texts, c.generation);
        const Reading before = poll();

        c.change();
        auto [kept, full] = pollKeptAndFull();
        EXPECT_EQ(kept, full);
        if (c.shows) {
            EXPECT_FALSE(kept == before) << "the change shows";
        }
    }
}

TEST_F(KeptWalks, JiggleStepLabelChangeIsRead) {
    build({});
    HWND jiggle = ncstudio.jiggleWindow();
    HWND label = ncstudio.label(jiggle, "0.20mm");
    block().jiggleWindow = jiggle;
    block().hostMode = 6;
    EXPECT_EQ(GetMaStep(), 0x1464);
    EXPECT_EQ(GetMaStep(), 0x1464);

    ncstudio.setText(label, "5.00mm");
    EXPECT_EQ(GetMaStep(), 0x50069);
    ncstudio.destroy(label);
    ncstudio.label(jiggle, "0.30mm");
    EXPECT_EQ(GetMaStep(), 0x1E65);
}
