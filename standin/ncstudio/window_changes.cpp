#include "standin/ncstudio/window_changes.h"

#include <vector>

namespace standin {
namespace {

// Texts the readers look for, and others.
const std::vector<std::string> kTexts = {
    "", "12.345", "-3.250", "46.750", "0", "18115", "2733", "100%", "80%", "ON", "OFF", "IDLE", "RUNNING",
    "PAUSING", kRunStateWords[3], "0.5 mm", "0.05mm", "0.5mm", "1mm", "&Jog", "M. Coor.", "Current Command Set:",
    "Slider1", "Status:", "55.555", "X+"};

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

std::string describe(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    char name[64];
    wsprintfA(name, "%p", static_cast<void*>(window));
    return std::string(name) + " \"" + text + "\"";
}

void placeAfter(HWND window, HWND after) {
    SetWindowPos(window, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

WindowChanges::WindowChanges(NcStudioBuilder& builder, NcStudioWindows& windows)
    : builder_(builder), w_(windows), statusDialog_(GetParent(windows.runState)) {}

std::string WindowChanges::apply(unsigned seed) {
    random_.seed(seed);
    std::string done;
    builder_.host().invoke([&] {
        HWND parent = anyParent();
        switch (random_() % 12) {
        case 0: case 1: case 2: done = changeText(parent); break;
        case 3: case 4: done = changeCheck(); break;
        case 5: done = insert(parent); break;
        case 6: case 7: done = move(parent); break;
        case 8: done = destroyChild(parent); break;
        case 9: done = random_() % 3 ? changeId() : recreatePanel(); break;
        case 10: done = toggleDialog(); break;
        default: {
            HWND child = anyChild(parent);
            if (!child) break;
            switch (random_() % 4) {
            case 0: ShowWindow(child, SW_HIDE); done = "hide "; break;
            case 1: ShowWindow(child, SW_SHOWNA); done = "show "; break;
            case 2: EnableWindow(child, FALSE); done = "disable "; break;
            default: EnableWindow(child, TRUE); done = "enable "; break;
            }
            done += describe(child);
        }
        }
    });
    return done.empty() ? "nothing" : done;
}

// The coordinate panel, the manual page or the status dialog; nullptr when
// the one chosen is gone. The main window is a target only: its children hold
// the panels, and a window moved into its own descendant would go round.
HWND WindowChanges::anyParent() {
    HWND parents[] = {w_.panel.panel, w_.panel.panel, w_.manualPage, statusDialog_};
    HWND parent = parents[random_() % 4];
    return IsWindow(parent) ? parent : nullptr;
}

HWND WindowChanges::anyChild(HWND parent) {
    if (!parent) return nullptr;
    std::vector<HWND> children = childrenOf(parent);
    return children.empty() ? nullptr : children[random_() % children.size()];
}

// A sibling to place a window after; nullptr for the first place.
HWND WindowChanges::anyPlaceIn(HWND parent) { return random_() % 4 ? anyChild(parent) : nullptr; }

const std::string& WindowChanges::anyText() { return kTexts[random_() % kTexts.size()]; }

std::string WindowChanges::changeText(HWND parent) {
    HWND child = anyChild(parent);
    if (!child) return {};
    const std::string& text = anyText();
    SetWindowTextA(child, text.c_str());
    return "text of " + describe(child);
}

// Checks or unchecks a step radio; two may then be checked at once.
std::string WindowChanges::changeCheck() {
    HWND radio = w_.stepButtons[random_() % kStepCount];
    const bool checked = random_() % 2;
    if (!IsWindow(radio)) return {};  // destroyed
    SendMessageA(radio, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    return std::string(checked ? "check " : "uncheck ") + describe(radio);
}

std::string WindowChanges::insert(HWND parent) {
    if (!parent) return {};
    const bool button = random_() % 2;
    HWND created = button ? builder_.button(parent, anyText()) : builder_.label(parent, anyText());
    placeAfter(created, anyPlaceIn(parent));
    return "insert " + describe(created);
}

// Moves a control to another parent (a panel undocked into a frame of its own
// and docked again) or to another place among its siblings.
std::string WindowChanges::move(HWND parent) {
    HWND child = anyChild(parent);
    if (!child) return {};
    HWND target = random_() % 3 ? anyParent() : w_.main;
    if (!target) return {};
    if (target != parent) SetParent(child, target);
    placeAfter(child, anyPlaceIn(target));
    return "move " + describe(child);
}

std::string WindowChanges::destroyChild(HWND parent) {
    HWND child = anyChild(parent);
    if (!child || childrenOf(parent).size() < 4) return insert(parent);
    std::string done = "destroy " + describe(child);
    DestroyWindow(child);
    return done;
}

// The coordinate panel destroyed and built anew with its usual controls.
std::string WindowChanges::recreatePanel() {
    DestroyWindow(w_.panel.panel);
    CoordinatePanelTexts texts;
    texts.workCoordinates[0] = anyText();
    texts.overrideTexts = {"100%", "0", "2733", "18115", "80%"};
    w_.panel = w_.generation == 1 ? builder_.coordinatePanelGeneration1(w_.main, texts)
                                  : builder_.coordinatePanelGeneration2(w_.main, texts);
    return "re-create the coordinate panel";
}

// A control, or a window of a chain to a panel, takes another control id.
std::string WindowChanges::changeId() {
    HWND frame = GetDlgItem(w_.main, kMainFrameId);
    HWND candidates[] = {anyChild(anyParent()), frame, GetParent(w_.manualPage), w_.manualPage,
                         GetParent(statusDialog_)};
    HWND window = candidates[random_() % 5];
    const int ids[] = {0, kMainFrameId, kManualTabsId, kManualPageId, kStatusBarId};
    const int id = ids[random_() % 5];
    if (!window) return {};
    SetWindowLongPtrA(window, GWLP_ID, id);
    return "id " + std::to_string(id) + " for " + describe(window);
}

// Opens NcStudio's prompt, "Jiggle" window or back-to-reference dialog, or
// closes the one open.
std::string WindowChanges::toggleDialog() {
    if (openDialog_) {
        DestroyWindow(openDialog_);
        openDialog_ = nullptr;
        return "close the dialog";
    }
    switch (random_() % 3) {
    case 0: openDialog_ = buildPrompt(builder_, "Continue?"); break;
    case 1: openDialog_ = buildJiggleWindow(builder_, "0.20mm"); break;
    default: openDialog_ = buildHomingDialog(builder_); break;
    }
    return "open " + describe(openDialog_);
}

}  // namespace standin
