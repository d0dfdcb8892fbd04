#pragma once
// NcStudio's override sliders, the trackbars of its coordinate panel: the
// wheel moves the spindle slider (axis knob 20) or the feed slider (21) by a
// percent of the slider's range per count, with arrow keys as a user would.
#include <windows.h>

#include "executor/key_event.h"

namespace executor {

// The feed slider: the first trackbar of the coordinate panel.
HWND feedSlider();

// The spindle slider: the second trackbar, or the third when the second is
// disabled.
HWND spindleSlider();

// One arrow-key press posted to a slider: key down and key up, no wait.
void postArrowPress(HWND slider, UINT arrowKey);

// The wheel on the spindle or feed slider, at step 9 of an event.
void moveOverrideSlider(const KeyEvent& event);

}  // namespace executor
