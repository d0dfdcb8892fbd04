#pragma once
// Operations on NcStudio's windows shared by the status readers, the control
// exports and the executor. All run under the bridge mutex, except
// cacheJiggleButtons when SetPcState calls it.
#include <windows.h>

namespace bridge {

// Every action posted to NcStudio is followed by this wait, so that NcStudio
// handles it before the next one.
constexpr DWORD kPostWaitMs = 40;

// True for the axis-knob codes of X, Y and Z.
bool isJogAxis(int axis);

// The "+" and "-" buttons of a jog axis (X, Y or Z) among six cached jog
// buttons (manual page or "Jiggle" window).
struct AxisButtons {
    HWND plus;
    HWND minus;
};
AxisButtons axisButtons(const HWND (&buttons)[6], int axis);

// Mouse-button-up to the axis's cached "+" button, then to its "-" button.
void liftJogButtons(int axis);

// Posts modifier+key to NcStudio's main window through the keyboard state:
// the modifier's key-down bit set, key down, `holdMs`, key up, 40 ms, the
// modifier's state put back. Nothing happens when the keyboard state cannot
// be read. The keyboard state is that of the calling thread's input: a thread
// whose input is not NcStudio's (wheelpad's main and polling threads) joins
// NcStudio's input for the chord, so that NcStudio sees the modifier down,
// and leaves it afterwards.
void postModifiedKey(BYTE modifier, BYTE key, DWORD holdMs);

// Posts Ctrl+key to NcStudio's main window and re-caches the manual page's
// jog buttons.
void postCtrlChord(BYTE key);

// Finds the "Jiggle" window and caches it with its jog buttons.
void cacheJiggleButtons();

// mode 0: next step, 2: previous step, any other: step `index` (0-7).
void selectStep(BYTE mode, int index);

// Lets go of the held continuous jog; true when it acted (or the held axis is
// not one of X, Y, Z), false when there was nothing to do or the jog key is
// still down.
bool releaseJog();

// Stops the machine when a released continuous jog still shows RUNNING.
void stopRunawayJog();

// Lets go of a held continuous jog whatever key the executor saw last
// (lastJogKey back to 0, then releaseJog): the pendant's link is gone, so no
// key can still be down.
void letGoOfHeldJog();

// A keyless or release-only event that could not get the bridge mutex leaves
// a request, set without the mutex, that the next holder of the mutex
// (KeyBoardProc or GetMaState) honours first with letGoOfHeldJog: a release
// must not be lost while a status reader waits on a hung NcStudio.
void requestPendingRelease();
void honourPendingRelease();
void clearPendingRelease();

// The first "Static" child of `parent` whose text contains "Safe Height is".
HWND findSafeHeightLabel(HWND parent);

// WM_KEYDOWN then WM_KEYUP with the virtual-key code; no wait of its own.
void postKey(HWND window, UINT virtualKey);

// Stops the machine with the host generation's command and marks it idle.
void stopMachine();

// True when NcStudio's manual jogging is possible now.
bool manualStepsEnabled();

// Replaces the whole text of an edit field.
void writeEdit(HWND edit, const char* text);

// The number parser for every number text read from NcStudio.
double parseNumber(const char* text);

}  // namespace bridge
