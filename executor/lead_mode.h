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

// The link went (receiver lost, pendant locked, program ending): in lead mode
// the feed slider goes to 0 at once, since no report will come to say the
// wheel stopped. Lead mode itself goes on; the next window starts afresh.
void stopLeadFeed();

}  // namespace executor
