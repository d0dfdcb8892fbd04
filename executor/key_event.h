#pragma once
// One pendant key event as KeyBoardProc receives it: the wheel count and the
// key word with its two keys and the two knobs.
#include <windows.h>

namespace executor {

struct KeyEvent {
    BYTE key1 = 0;
    BYTE key2 = 0;
    BYTE rateKnob = 0;
    BYTE axisKnob = 0;
    // key1, or key2 when key1 is 0.
    BYTE key = 0;
    // The signed wheel count; 0 while the wheel is blocked.
    signed char wheel = 0;
    // A release that stands for a lost link, a lock or an exit
    // (bridge/release_only_event.h).
    bool releaseOnly = false;

    bool noKeyDown() const { return key1 == 0 && key2 == 0; }
};

// Unpacks `wheelDelta` (its low byte is the signed count) and `keyWord` (key1,
// key2, rate knob and axis knob from the lowest byte up).
KeyEvent unpackKeyEvent(int wheelDelta, int keyWord);

}  // namespace executor
