#pragma once
// The stand-in NcStudio program's windows: the main window of its generation
// with the panels the driver reads (coordinates, manual page, status, control
// bar), laid out as a user sees them, and the dialogs it opens.
#include <windows.h>

#include <string>

#include "standin/ncstudio/machine.h"
#include "standin/ncstudio/ncstudio_builder.h"

namespace standin {

// Which override static shows what, by generation (the readers tell them
// apart by position).
struct OverrideLayout {
    int feedIndex;     // the feed: actual feed in generation 1, set feed in generation 2
    int spindleIndex;  // the spindle speed
};

// Captions of the jog direction buttons, in the order of NcStudioWindows::jogButtons.
inline constexpr const char* kJogCaptions[2 * kAxisCount] = {"X-", "X+", "Y-", "Y+", "Z-", "Z+"};

struct NcStudioWindows {
    int generation = 2;
    HWND main = nullptr;
    CoordinatePanelWindows panel;
    HWND manualPage = nullptr;
    HWND jogButtons[2 * kAxisCount] = {};  // X-, X+, Y-, Y+, Z-, Z+
    HWND stepButtons[kStepCount] = {};     // by step index
    HWND runState = nullptr;               // the status dialog's run-state static
    HWND controlBar = nullptr;
    FeedrateDialogWindows feedrate;        // generation 2 only
    OverrideLayout overrides{};
};

// The main window's title for a generation: "NcStudio V5 - demo.nc" and so on.
std::string mainWindowTitle(int generation);

// Builds the main window of `generation` (1: NcStudio 5, 2: later) showing
// `machine`, laid out, hidden. Generation 2 has the "Feedrate" dialog on its
// command-set button, with `feed` set and a base feed of 3000.
NcStudioWindows buildNcStudioWindows(NcStudioBuilder& builder, int generation, const Machine& machine,
                                     int feed, int spindle);

// NcStudio's dialogs, built hidden and laid out: the jog-adjust window
// "Jiggle" with its step label, the back-to-reference dialog, and a message
// box titled "NcStudio" with Yes, No, OK and Cancel.
HWND buildJiggleWindow(NcStudioBuilder& builder, const std::string& stepLabel);
HWND buildHomingDialog(NcStudioBuilder& builder);
HWND buildPrompt(NcStudioBuilder& builder, const std::string& message);

// Shows a top-level window and brings it to the front, or, for a stand-in
// that stays hidden, only makes it the foreground window.
void bringToFront(HWND window, bool visible);

}  // namespace standin
