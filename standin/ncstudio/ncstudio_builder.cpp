#include "standin/ncstudio/ncstudio_builder.h"

#include <commctrl.h>

namespace standin {
namespace {

constexpr const char* kMainClass = "Afx:400000:b:10011:6:0";
constexpr const char* kPanelClass = "AfxWnd42";

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Alt+letter goes to NcStudio's menus, which the stand-in does not have:
    // it must not start the system menu's keyboard loop.
    if (message == WM_SYSCHAR) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    for (const char* name : {kMainClass, kPanelClass, "AfxControlBar42"}) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&wc);
    }
}

constexpr const char* kOpensProp = "StandinOpensWindow";
constexpr const char* kOpensPreviousProc = "StandinOpensPreviousProc";

// A button that opens a window: after the button's own handling of a click,
// the window is shown and brought to the front.
LRESULT CALLBACK opensOnClickProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(button, kOpensPreviousProc));
    if (message == WM_NCDESTROY) {
        RemovePropA(button, kOpensProp);
        RemovePropA(button, kOpensPreviousProc);
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        return CallWindowProcA(previous, button, message, wParam, lParam);
    }
    LRESULT result = CallWindowProcA(previous, button, message, wParam, lParam);
    if (message == BM_CLICK) {
        HWND opened = static_cast<HWND>(GetPropA(button, kOpensProp));
        ShowWindow(opened, SW_SHOW);
        SetForegroundWindow(opened);
    }
    return result;
}

}  // namespace

const std::vector<std::string>& stepCaptions(StepCaptions set) {
    static const std::vector<std::string> selection = {"&Jog", "0.01mm", "0.05mm", "0.1mm",
                                                       "0.5mm", "1mm", "5mm", "10mm"};
    static const std::vector<std::string> reading = {"&Jog", "0.01mm", "0.05mm", "0.1 mm",
                                                     "0.5 mm", "1   mm", "5   mm", "10  mm"};
    return set == StepCaptions::Selection ? selection : reading;
}

NcStudioBuilder::NcStudioBuilder(HostThread& host) : host_(host) {
    host_.invoke(registerClasses);
}

HWND NcStudioBuilder::child(HWND parent, const ControlSpec& spec) {
    HWND created = nullptr;
    host_.invoke([&] {
        created = CreateWindowExA(0, spec.className.c_str(), spec.text.c_str(),
                                  WS_CHILD | WS_VISIBLE | spec.style, 0, 0, 80, 20, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                  GetModuleHandleA(nullptr), nullptr);
        if (created) host_.record(created);
    });
    return created;
}

HWND NcStudioBuilder::button(HWND parent, const std::string& caption, int id) {
    return child(parent, {"Button", caption, id, BS_PUSHBUTTON});
}

HWND NcStudioBuilder::radio(HWND parent, const std::string& caption, bool checked, int id) {
    HWND created = child(parent, {"Button", caption, id, BS_RADIOBUTTON});
    if (checked) setChecked(created, true);
    return created;
}

HWND NcStudioBuilder::label(HWND parent, const std::string& text, int id) {
    return child(parent, {"Static", text, id, 0});
}

HWND NcStudioBuilder::edit(HWND parent, const std::string& text, int id) {
    return child(parent, {"Edit", text, id, ES_AUTOHSCROLL});
}

HWND NcStudioBuilder::trackbar(HWND parent, const std::string& text, int id) {
    return child(parent, {TRACKBAR_CLASSA, text, id, 0});
}

HWND NcStudioBuilder::topLevel(const std::string& className, const std::string& title) {
    HWND created = nullptr;
    host_.invoke([&] {
        created = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 300,
                                  200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (created) host_.record(created);
    });
    return created;
}

HWND NcStudioBuilder::mainWindow(const std::string& title) { return topLevel(kMainClass, title); }

HWND NcStudioBuilder::coordinatePanel(HWND main) {
    HWND frame = GetDlgItem(main, kMainFrameId);
    if (!frame) frame = child(main, {kPanelClass, "", kMainFrameId, 0});
    HWND inner = GetDlgItem(frame, kMainFrameId);
    if (!inner) inner = child(frame, {kPanelClass, "", kMainFrameId, 0});
    return child(inner, {kPanelClass, "", kMainFrameId, 0});
}

HWND NcStudioBuilder::manualPage(HWND main) {
    HWND frame = GetDlgItem(main, kMainFrameId);
    if (!frame) frame = child(main, {kPanelClass, "", kMainFrameId, 0});
    HWND inner = GetDlgItem(frame, kMainFrameId);
    if (!inner) inner = child(frame, {kPanelClass, "", kMainFrameId, 0});
    HWND tabs = child(inner, {kPanelClass, "", kManualTabsId, 0});
    return child(tabs, {"#32770", "", kManualPageId, 0});
}

void NcStudioBuilder::standardManualButtons(HWND page, StepCaptions captions, int checkedIndex) {
    for (const char* caption : {"X-", "X+", "Y-", "Y+", "Z-", "Z+", "X清零", "Y清零", "Z清零"})
        button(page, caption);
    const std::vector<std::string>& steps = stepCaptions(captions);
    for (size_t i = 0; i < steps.size(); ++i)
        radio(page, steps[i], static_cast<int>(i) == checkedIndex);
}

HWND NcStudioBuilder::statusDialog(HWND main, const std::string& runState) {
    HWND bar = child(main, {kPanelClass, "", kStatusBarId, 0});
    HWND dialog = child(bar, {"#32770", "", 0, 0});
    label(dialog, "Status:");
    return label(dialog, runState);
}

namespace {

CoordinatePanelWindows buildCoordinatePanel(NcStudioBuilder& builder, HWND main,
                                            const CoordinatePanelTexts& texts, bool generation2) {
    CoordinatePanelWindows built;
    built.panel = builder.coordinatePanel(main);
    const char* axisLabels[] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis) {
        builder.label(built.panel, axisLabels[axis]);
        built.workCoordinates[axis] = builder.button(built.panel, texts.workCoordinates[axis]);
    }
    built.slider = builder.trackbar(built.panel, "Slider1");
    built.afterSlider = builder.button(built.panel, "Zero");
    if (generation2) builder.label(built.panel, "M. Coor.");
    for (const std::string& text : texts.machineCoordinates)
        built.machineCoordinates.push_back(builder.label(built.panel, text));
    built.onOff = builder.button(built.panel, texts.onOff);
    for (const std::string& text : texts.overrideTexts)
        built.overrideTexts.push_back(builder.label(built.panel, text));
    if (generation2) {
        builder.label(built.panel, "Current Command Set:");
        built.commandSetButton = builder.button(built.panel, "F");
    }
    return built;
}

}  // namespace

CoordinatePanelWindows NcStudioBuilder::coordinatePanelGeneration1(HWND main,
                                                                   const CoordinatePanelTexts& texts) {
    return buildCoordinatePanel(*this, main, texts, false);
}

CoordinatePanelWindows NcStudioBuilder::coordinatePanelGeneration2(HWND main,
                                                                   const CoordinatePanelTexts& texts) {
    return buildCoordinatePanel(*this, main, texts, true);
}

HWND NcStudioBuilder::controlBar(HWND main, bool withToolbar) {
    HWND bar = child(main, {"AfxControlBar42", "", 0, 0});
    if (withToolbar) child(bar, {TOOLBARCLASSNAMEA, "", 0, 0});
    return bar;
}

HWND NcStudioBuilder::jiggleWindow(const std::string& title) {
    HWND window = topLevel("#32770", title);
    label(window, "Jog:");
    for (const char* caption : {"X-", "X+", "Y-", "Y+", "Z-", "Z+"}) button(window, caption);
    return window;
}

void NcStudioBuilder::setText(HWND window, const std::string& text) {
    host_.invoke([&] { SetWindowTextA(window, text.c_str()); });
}

void NcStudioBuilder::setChecked(HWND button, bool checked) {
    host_.invoke([&] { SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); });
}

void NcStudioBuilder::setEnabled(HWND window, bool enabled) {
    host_.invoke([&] { EnableWindow(window, enabled); });
}

void NcStudioBuilder::destroy(HWND window) {
    host_.invoke([&] { DestroyWindow(window); });
}

FeedrateDialogWindows NcStudioBuilder::feedrateDialog(HWND feedButton, const std::string& feed,
                                                      const std::string& baseFeed) {
    FeedrateDialogWindows built;
    built.dialog = topLevel("#32770", "Feedrate");
    label(built.dialog, "Feedrate:");
    built.feedEdit = edit(built.dialog, feed);
    label(built.dialog, "Base:");
    built.baseEdit = edit(built.dialog, baseFeed);
    button(built.dialog, "OK", IDOK);
    opensOnClick(feedButton, built.dialog);
    return built;
}

void NcStudioBuilder::opensOnClick(HWND button, HWND window) {
    host_.invoke([&] {
        SetPropA(button, kOpensProp, window);
        LONG_PTR previous = SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(opensOnClickProc));
        SetPropA(button, kOpensPreviousProc, reinterpret_cast<HANDLE>(previous));
    });
}

HWND NcStudioBuilder::homingDialog(const std::vector<std::string>& captions) {
    HWND dialog = topLevel("#32770", "bkref: move to reference point");
    for (const std::string& caption : captions) button(dialog, caption);
    return dialog;
}

HWND NcStudioBuilder::prompt(const std::string& title, const std::string& message) {
    HWND dialog = topLevel("#32770", title);
    label(dialog, message);
    button(dialog, "&Yes", IDYES);
    button(dialog, "&No", IDNO);
    button(dialog, "OK", IDOK);
    button(dialog, "Cancel", IDCANCEL);
    return dialog;
}

}  // namespace standin
