#pragma once
// The actions of the pendant's keys that run before the jog: stop, start and
// pause, F2, key 6 and the tool setter's signals, back to reference, Set Z,
// the two-key work-coordinate commands, F7 and the coordinate display's menu
// key.
#include "executor/key_event.h"

namespace executor {

// Runs the action of the event's key. Returns true when the event ends here.
bool runKeyAction(const KeyEvent& event);

}  // namespace executor
