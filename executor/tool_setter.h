#pragma once
// Key 6 and the wireless tool setter. With the tool setter switched on, key 6
// starts a tool-length measurement: the tool setter's signals (49 coarse
// approach, 50 fine approach, 51 contact) lower Z with NcStudio's "Z-" jog
// button, the twentieth contact sets the Z work coordinate to the tool-setter
// height, and further signals retract Z by 10 mm; the status poller puts the
// jog step back afterwards. Without the tool setter a short press of key 6
// posts Ctrl+F7 (calibration), a press of more than 2 s Shift+F7 (tool
// change), and on a running machine the key pauses it.
#include <windows.h>

namespace executor {

// Key 6.
void toolSettingKey();

// An event without a key: finishes a timed key-6 press, or ends a
// measurement that has waited more than 2 s for a signal.
void keyReleaseCheck();

// A release that stands for a lost link, a lock or an exit: a timed key-6
// press is forgotten without posting anything.
void forgetTimedPress();

// Signals 49, 50 and 51.
void toolSetterSignal(BYTE signal);

// Key 3 during a measurement: ends it into the retract, on the 10 mm step.
void abortToolSetting();

}  // namespace executor
