#pragma once
// Lines 2 and 3 of the status screens, read from LocationText: a text of
// fields each ended by ":" (label, value, feed, spindle).
#include <string>

#include "pendant/display_frame.h"

namespace pendant {

// Reads up to ten fields from the front of `locationText`, removing each
// field and its ":", and appends line 2 (label ":" value) when two fields
// were read and line 3 ("F:" feed "S:" spindle) when four were. An empty
// field ends the reading.
void appendLocationLines(DisplayFrame& frame, std::string& locationText);

}  // namespace pendant
