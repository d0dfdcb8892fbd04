#pragma once
// The pendant's rate knob: it selects NcStudio's jog step for its position and,
// in generation 2, writes that percentage of the base feed into NcStudio's
// "Feedrate" dialog.
#include <windows.h>

namespace executor {

// The percent of a rate-knob code (13, 14, 15, 16, 26, 27, 155: 2, 10, 20, 40,
// 60, 80, 100), applied with applyRate; 0 for any other code, which applies
// nothing.
int applyRateCode(BYTE code);

// Applies a rate percent (0: continuous jog). Returns 1 when it was handled or
// there was nothing to handle, 0 when manual jogging is not possible now and
// the caller should try again with a later event.
int applyRate(int percent);

// Opens the Feedrate dialog again while a written feed is still to be checked:
// a feed found in place ends the check, another one is written again.
void restoreFeed();

}  // namespace executor
