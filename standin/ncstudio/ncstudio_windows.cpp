#include "standin/ncstudio/ncstudio_windows.h"

#include <commctrl.h>

#include <vector>

namespace standin {
namespace {

struct Place {
    HWND window;
    int x, y, width, height;
};

// Moves the windows into place and gives them the dialog font, the
// coordinates a large one, on the host thread.
void arrange(NcStudioBuilder& builder, const std::vector<Place>& places, const std::vector<HWND>& large) {
    builder.host().invoke([&] {
        static HFONT largeFont = CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
        for (const Place& p : places) {
            MoveWindow(p.window, p.x, p.y, p.width, p.height, FALSE);
            SendMessageA(p.window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        }
        for (HWND window : large) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(largeFont), FALSE);
    });
}

HWND childWithText(HWND parent, const char* text) { return FindWindowExA(parent, nullptr, nullptr, text); }

// The children of `parent` in their order.
std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

void layOutCoordinatePanel(NcStudioBuilder& builder, NcStudioWindows& w, std::vector<Place>& places,
                           const std::vector<std::string>& overrideNames) {
    const CoordinatePanelWindows& p = w.panel;
    // Captions that no reader looks at come after everything the readers walk.
    HWND workCaption = builder.label(p.panel, "Work");
    places.push_back({workCaption, 40, 10, 160, 20});
    if (w.generation == 1) places.push_back({builder.label(p.panel, "Machine"), 230, 10, 150, 20});
    else places.push_back({childWithText(p.panel, "M. Coor."), 230, 10, 150, 20});
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const int y = 36 + axis * 44;
        places.push_back({childWithText(p.panel, std::string(1, "XYZ"[axis]).c_str()), 12, y + 8, 20, 20});
        places.push_back({p.workCoordinates[axis], 40, y, 170, 36});
        places.push_back({p.machineCoordinates[axis], 230, y + 8, 150, 22});
    }
    places.push_back({p.slider, 12, 176, 300, 30});
    places.push_back({p.afterSlider, 320, 178, 70, 26});
    places.push_back({p.onOff, 40, 216, 80, 28});
    for (size_t i = 0; i < p.overrideTexts.size(); ++i) {
        const int y = 258 + static_cast<int>(i) * 26;
        places.push_back({builder.label(p.panel, overrideNames[i] + ":"), 12, y, 140, 20});
        places.push_back({p.overrideTexts[i], 160, y, 100, 20});
    }
    if (w.generation == 2) {
        places.push_back({childWithText(p.panel, "Current Command Set:"), 12, 400, 150, 22});
        places.push_back({p.commandSetButton, 160, 396, 60, 26});
    }
}

void layOutManualPage(const NcStudioWindows& w, std::vector<Place>& places) {
    const POINT jogAt[2 * kAxisCount] = {{20, 60}, {160, 60}, {90, 100}, {90, 20}, {240, 100}, {240, 20}};
    for (int i = 0; i < 2 * kAxisCount; ++i) places.push_back({w.jogButtons[i], jogAt[i].x, jogAt[i].y, 64, 34});
    const char* zeroCaptions[] = {"X清零", "Y清零", "Z清零"};
    for (int axis = 0; axis < kAxisCount; ++axis)
        places.push_back({childWithText(w.manualPage, zeroCaptions[axis]), 20 + axis * 96, 156, 80, 28});
    for (int i = 0; i < kStepCount; ++i)
        places.push_back({w.stepButtons[i], 20 + (i / 4) * 150, 204 + (i % 4) * 30, 130, 24});
}

}  // namespace

std::string mainWindowTitle(int generation) {
    return generation == 1 ? "NcStudio V5 - demo.nc" : "NcStudio V8 - demo.nc";
}

NcStudioWindows buildNcStudioWindows(NcStudioBuilder& builder, int generation, const Machine& machine, int feed,
                                     int spindle) {
    NcStudioWindows w;
    w.generation = generation;
    w.main = builder.mainWindow(mainWindowTitle(generation));
    w.controlBar = builder.controlBar(w.main);

    CoordinatePanelTexts texts;
    texts.machineCoordinates.clear();
    for (int axis = 0; axis < kAxisCount; ++axis) {
        texts.workCoordinates[axis] = millimetres(machine.work(axis));
        texts.machineCoordinates.push_back(millimetres(machine.machine(axis)));
    }
    std::vector<std::string> overrideNames;
    if (generation == 1) {
        // The actual feed (0 while idle) before the spindle speed.
        texts.overrideTexts = {"0", std::to_string(spindle), "100%", "80%"};
        overrideNames = {"Feed", "Spindle", "Feed override", "Spindle override"};
        w.overrides = {0, 1};
        w.panel = builder.coordinatePanelGeneration1(w.main, texts);
    } else {
        texts.overrideTexts = {"100%", "0", std::to_string(feed), std::to_string(spindle), "80%"};
        overrideNames = {"Spindle override", "Line", "Feed", "Spindle", "Feed override"};
        w.overrides = {2, 3};
        w.panel = builder.coordinatePanelGeneration2(w.main, texts);
        w.feedrate = builder.feedrateDialog(w.panel.commandSetButton, std::to_string(feed) + ".000000",
                                            "3000.000000");
    }

    w.manualPage = builder.manualPage(w.main);
    const StepCaptions captions = generation == 1 ? StepCaptions::Reading : StepCaptions::Selection;
    builder.standardManualButtons(w.manualPage, captions, machine.stepIndex());
    for (int i = 0; i < 2 * kAxisCount; ++i) w.jogButtons[i] = childWithText(w.manualPage, kJogCaptions[i]);
    for (int i = 0; i < kStepCount; ++i) w.stepButtons[i] = childWithText(w.manualPage, stepCaptions(captions)[i].c_str());

    w.runState = builder.statusDialog(w.main, kRunStateWords[static_cast<int>(machine.runState())]);

    std::vector<Place> places;
    HWND frame = GetDlgItem(w.main, kMainFrameId);
    HWND inner = GetDlgItem(frame, kMainFrameId);
    HWND tabs = GetDlgItem(inner, kManualTabsId);
    HWND statusBar = GetDlgItem(w.main, kStatusBarId);
    HWND statusDialog = GetParent(w.runState);
    places.push_back({w.main, 40, 30, 800, 580});
    places.push_back({w.controlBar, 0, 0, 792, 30});
    places.push_back({frame, 0, 30, 792, 480});
    places.push_back({inner, 0, 0, 792, 480});
    places.push_back({w.panel.panel, 0, 0, 450, 480});
    places.push_back({tabs, 456, 0, 336, 480});
    places.push_back({w.manualPage, 0, 0, 336, 480});
    places.push_back({statusBar, 0, 512, 792, 30});
    places.push_back({statusDialog, 0, 0, 792, 30});
    std::vector<HWND> statusTexts = childrenOf(statusDialog);
    places.push_back({statusTexts[0], 10, 6, 60, 20});
    places.push_back({w.runState, 75, 6, 200, 20});
    layOutCoordinatePanel(builder, w, places, overrideNames);
    layOutManualPage(w, places);
    if (generation == 2) {
        std::vector<HWND> feedrate = childrenOf(w.feedrate.dialog);  // label, edit, label, edit, OK
        places.push_back({w.feedrate.dialog, 300, 200, 260, 170});
        for (size_t i = 0; i + 1 < feedrate.size(); ++i)
            places.push_back({feedrate[i], i % 2 ? 90 : 12, 16 + static_cast<int>(i / 2) * 34, i % 2 ? 140 : 70, 24});
        places.push_back({feedrate.back(), 90, 90, 80, 28});
    }
    std::vector<HWND> large(std::begin(w.panel.workCoordinates), std::end(w.panel.workCoordinates));
    arrange(builder, places, large);
    return w;
}

HWND buildJiggleWindow(NcStudioBuilder& builder, const std::string& stepLabel) {
    HWND window = builder.jiggleWindow("Jiggle");
    builder.label(window, stepLabel);
    std::vector<HWND> children = childrenOf(window);  // "Jog:", six buttons, step label
    std::vector<Place> places = {{window, 320, 160, 300, 200}, {children[0], 12, 12, 60, 20}};
    for (int i = 0; i < 2 * kAxisCount; ++i)
        places.push_back({children[1 + i], 12 + (i / 2) * 90, 44 + (i % 2) * 40, 70, 32});
    places.push_back({children.back(), 80, 12, 100, 20});
    arrange(builder, places, {});
    return window;
}

HWND buildHomingDialog(NcStudioBuilder& builder) {
    HWND dialog = builder.homingDialog();
    std::vector<HWND> buttons = childrenOf(dialog);
    std::vector<Place> places = {{dialog, 320, 160, 300, 180}};
    for (size_t i = 0; i < buttons.size(); ++i)
        places.push_back({buttons[i], 20 + static_cast<int>(i % 2) * 130, 20 + static_cast<int>(i / 2) * 50, 110, 34});
    arrange(builder, places, {});
    return dialog;
}

HWND buildPrompt(NcStudioBuilder& builder, const std::string& message) {
    HWND dialog = builder.prompt("NcStudio", message);
    std::vector<HWND> children = childrenOf(dialog);  // message, Yes, No, OK, Cancel
    std::vector<Place> places = {{dialog, 300, 220, 360, 150}, {children[0], 16, 16, 320, 40}};
    for (size_t i = 1; i < children.size(); ++i)
        places.push_back({children[i], 16 + static_cast<int>(i - 1) * 82, 72, 74, 28});
    arrange(builder, places, {});
    return dialog;
}

void bringToFront(HWND window, bool visible) {
    if (visible) ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
}

}  // namespace standin
