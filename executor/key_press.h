#pragma once
// Presses of the pendant's keys. A receiver may repeat its report while a key
// is held, so one press can arrive as many events; the one-shot key actions
// (start, pause, stop, ON/OFF, back to reference, the work-coordinate
// commands and the others) run on the first event of a press only.
#include "executor/key_event.h"

namespace executor {

// True when the event's keys begin a press: it carries a key, and not the
// same two key bytes as the event before it without an event without a key
// in between. Takes note of the event's keys.
bool beginsPress(const KeyEvent& event);

// A report without a key that KeyBoardProc could not execute (the bridge
// mutex stayed busy) still ends the press, so the next press of the same key
// is not taken for a repeat.
void endPress();

}  // namespace executor
