#pragma once
// Builds NcStudio's windows, as the driver finds them, on a HostThread: the
// main window and the chains of control ids to its panels, the status dialog,
// the control bar, and the windows found by title. Every window it creates is
// recorded. Callers build exactly the layout they need; the standard pieces
// below follow NcStudio's child order.
#include <windows.h>

#include <string>
#include <vector>

#include "standin/ncstudio/host_thread.h"

namespace standin {

// Control ids of NcStudio's main-window chains.
constexpr int kMainFrameId = 59648;    // 0xE900
constexpr int kManualTabsId = 59664;   // 0xE910
constexpr int kManualPageId = 59649;   // 0xE901
constexpr int kStatusBarId = 59419;    // 0xE81B

// The two caption sets NcStudio's step radio buttons are known by: the one
// the step selection clicks by, and the one the step reader recognises.
enum class StepCaptions { Selection, Reading };

const std::vector<std::string>& stepCaptions(StepCaptions set);

// The words NcStudio's status dialog shows, indexed by run state: idle,
// running, pausing, emergency stop.
inline constexpr const char* kRunStateWords[4] = {"IDLE", "RUNNING", "PAUSING", "紧停"};

// What NcStudio's coordinate panel shows, in its child order.
struct CoordinatePanelTexts {
    std::string workCoordinates[3] = {"0.000", "0.000", "0.000"};  // X, Y, Z buttons
    std::vector<std::string> machineCoordinates = {"0.000", "0.000", "0.000"};
    std::string onOff = "OFF";
    std::vector<std::string> overrideTexts;  // percent and speed statics
};

// The coordinate panel's windows as built.
struct CoordinatePanelWindows {
    HWND panel = nullptr;
    HWND workCoordinates[3] = {};
    HWND slider = nullptr;       // the trackbar "Slider1"
    HWND afterSlider = nullptr;  // the button that follows the trackbar
    std::vector<HWND> machineCoordinates;
    HWND onOff = nullptr;
    std::vector<HWND> overrideTexts;
    HWND commandSetButton = nullptr;  // after "Current Command Set:" (generation 2)
};

struct ControlSpec {
    std::string className;
    std::string text;
    int id = 0;
    DWORD style = 0;
};

// The "Feedrate" dialog's windows as built.
struct FeedrateDialogWindows {
    HWND dialog = nullptr;
    HWND feedEdit = nullptr;
    HWND baseEdit = nullptr;
};

class NcStudioBuilder {
public:
    explicit NcStudioBuilder(HostThread& host);

    HostThread& host() { return host_; }

    // A child window of any class; hidden unless the parent is shown.
    HWND child(HWND parent, const ControlSpec& spec);
    HWND button(HWND parent, const std::string& caption, int id = 0);
    HWND radio(HWND parent, const std::string& caption, bool checked, int id = 0);
    HWND label(HWND parent, const std::string& text, int id = 0);
    HWND edit(HWND parent, const std::string& text, int id = 0);
    HWND trackbar(HWND parent, const std::string& text, int id = 0);

    // A hidden top-level window; `className` "#32770" gives a dialog.
    HWND topLevel(const std::string& className, const std::string& title);

    // NcStudio's main window (hidden).
    HWND mainWindow(const std::string& title = "NcStudio");

    // The chain 59648 -> 59648 -> 59648 from the main window: the coordinate
    // panel, empty.
    HWND coordinatePanel(HWND main);

    // The chain 59648 -> 59648 -> 59664 -> 59649: the manual page, empty.
    HWND manualPage(HWND main);

    // The manual page's usual buttons: "X-" ... "Z+", the three zero buttons,
    // and the step radios of `captions` with the one at `checkedIndex` checked
    // (-1: none).
    void standardManualButtons(HWND page, StepCaptions captions, int checkedIndex);

    // 59419 with its "#32770" child holding a caption static and the static
    // with `runState`; returns the static that shows the run state.
    HWND statusDialog(HWND main, const std::string& runState);

    // The coordinate panel of NcStudio 5 (generation 1): per axis a label and
    // the coordinate button, the trackbar "Slider1", a button, the
    // machine-coordinate statics, the ON/OFF button, the override statics.
    CoordinatePanelWindows coordinatePanelGeneration1(HWND main, const CoordinatePanelTexts& texts);

    // The coordinate panel of later NcStudio (generation 2): as generation 1,
    // with the label "M. Coor." before the machine coordinates and the label
    // "Current Command Set:" with its button after the override statics.
    CoordinatePanelWindows coordinatePanelGeneration2(HWND main, const CoordinatePanelTexts& texts);

    // An "AfxControlBar42" child of the main window with a "ToolbarWindow32"
    // child (none when `withToolbar` is false); returns the control bar.
    HWND controlBar(HWND main, bool withToolbar = true);

    // NcStudio's jog-adjust window: a top-level dialog titled `title` that
    // holds a caption static and then the buttons "X-", "X+", "Y-", "Y+",
    // "Z-", "Z+" in this order; returns the window.
    HWND jiggleWindow(const std::string& title = "Jiggle");

    // Sets a window's text on the host thread (as NcStudio does itself).
    void setText(HWND window, const std::string& text);
    void setChecked(HWND button, bool checked);
    void setEnabled(HWND window, bool enabled);

    // Destroys a window built here (on the host thread).
    void destroy(HWND window);

    // NcStudio's "Feedrate" dialog (generation 2): a top-level dialog titled
    // "Feedrate" with the edit of the feed that is set and the edit of the
    // base feed after it. A click on `feedButton` opens it (see opensOnClick).
    FeedrateDialogWindows feedrateDialog(HWND feedButton, const std::string& feed,
                                         const std::string& baseFeed);

    // Makes every click on `button` (BM_CLICK) show `window` and make it the
    // foreground window, as NcStudio opens a dialog from a button. The window
    // stays shown: under Wine hiding or destroying a shown window costs about
    // 2 s, so use it sparingly.
    void opensOnClick(HWND button, HWND window);

    // NcStudio's back-to-reference dialog: a hidden top-level dialog with the
    // buttons of `captions` in this order.
    HWND homingDialog(const std::vector<std::string>& captions = {"&All Axes", "&X Axis", "&Y Axis",
                                                                   "&Z Axis"});

    // A message box of NcStudio: a hidden top-level dialog titled `title` with
    // a static showing `message` and the buttons "&Yes" (id 6), "&No" (id 7),
    // "OK" (id 1) and "Cancel" (id 2).
    HWND prompt(const std::string& title, const std::string& message);

private:
    HostThread& host_;
};

}  // namespace standin
