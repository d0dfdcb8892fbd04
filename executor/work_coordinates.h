#pragma once
// The pendant's work-coordinate commands: halving the X or Y work coordinate
// (keys 14 and 16), pressing an axis's coordinate button (keys 15 and 16) and
// setting the Z work coordinate to NcStudio's safe height (key 7) or to the
// tool-setter height (the tool-setter sequence).
#include <windows.h>

namespace executor {

// The selected axis's work coordinate (X or Y) becomes half of what NcStudio
// shows. Returns true when the event ends here (busy machine).
bool halfCoordinate(BYTE axisKnob);

// Clicks the selected axis's button of the back-to-reference dialog, or its
// coordinate button. Returns true when the event ends here (busy machine).
bool pressAxisButton(BYTE axisKnob);

// The current Z work coordinate becomes the tool-setter height, or else
// NcStudio's safe height. Nothing is set while the safe height is unknown.
void setZCoordinate(bool fromToolSetter);

}  // namespace executor
