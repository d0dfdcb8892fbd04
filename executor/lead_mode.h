#pragma once
// Lead mode (axis knob 22): the feed override slider follows the speed at
// which the wheel is turned, so that a running program advances only as fast
// as the operator turns the wheel and stops when the wheel stops. Leaving
// the knob position puts the slider back where it was.
#include "executor/key_event.h"

namespace executor {

// Step 11 of an event: lead mode on knob 22, or its end on any other knob.
// Returns the slider position set in this event (0 when none was set).
int runLeadMode(const KeyEvent& event);

}  // namespace executor
