#pragma once
// What the virtual pendant offers: its sixteen keys and the tool setter's
// three signals (each a key code in the input report), the positions of the
// axis and rate knobs, and the keyboard shortcut of each.
#include <windows.h>

#include <vector>

namespace virtual_pendant {

// The function key: held, it makes keys 14 and 15 into its chords.
constexpr BYTE kFunctionKey = 16;

struct KeyFace {
    BYTE code;             // key code in the report
    const char* label;     // what it does in NcStudio
    UINT shortcut;         // virtual-key code on the PC's keyboard
    const char* shortcutName;
};

struct KnobPosition {
    BYTE code;  // knob byte in the report
    const char* label;
    UINT shortcut;
    const char* shortcutName;
};

// The sixteen keys in the order the window lays them out, four a row.
const std::vector<KeyFace>& pendantKeys();
// The tool setter's signals: coarse approach, fine approach, contact.
const std::vector<KeyFace>& toolSetterSignals();
// OFF, X, Y, Z, the spindle and feed override sliders, lead mode.
const std::vector<KnobPosition>& axisPositions();
// 2 % to 100 %.
const std::vector<KnobPosition>& ratePositions();

}  // namespace virtual_pendant
