#pragma once
// Jogging X, Y and Z with the pendant's wheel through NcStudio's own jog
// buttons: one click per event in a step mode, a held button in continuous
// mode ("&Jog"), keys 8 and 12 as a continuous jog while held, and the
// "Jiggle" window's buttons while that window is in front.
#include <windows.h>

#include "executor/key_event.h"

namespace executor {

// The axis knob of the previous event (0 when the library is loaded).
extern BYTE lastAxisSeen;

// The wheel's step of KeyBoardProc for the jog axes: prepares the jog for
// every event and moves the selected axis. Keys 8 and 12 turn the event's
// wheel count into -1 or +1. Returns true when the event ends here (a jog
// reversal is still locked out).
bool jogWithWheel(KeyEvent& event);

}  // namespace executor
