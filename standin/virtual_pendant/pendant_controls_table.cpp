#include "standin/virtual_pendant/pendant_controls_table.h"

namespace virtual_pendant {

const std::vector<KeyFace>& pendantKeys() {
    static const std::vector<KeyFace> keys = {
        {4, "Start / Pause", 'R', "R"},
        {3, "Stop", 'S', "S"},
        {5, "Shift+Start / Stop", 'E', "E"},
        {6, "Tool setting", 'T', "T"},
        {8, "Jog - (hold)", VK_OEM_MINUS, "-"},
        {12, "Jog + (hold)", VK_OEM_PLUS, "="},
        {11, "Back to reference", 'H', "H"},
        {7, "Safe Z", 'Z', "Z"},
        {10, "Spindle ON/OFF", 'O', "O"},
        {13, "Work / machine coords", 'W', "W"},
        {9, "Calibrate (F7)", 'C', "C"},
        {kFunctionKey, "Fn (click: latch)", 'F', "F"},
        {14, "Fn+: halve X or Y", 'A', "A"},
        {15, "Fn+: axis button", 'D', "D"},
        {1, "Cancel", VK_ESCAPE, "Esc"},
        {2, "Confirm", VK_RETURN, "Enter"},
    };
    return keys;
}

const std::vector<KeyFace>& toolSetterSignals() {
    static const std::vector<KeyFace> signals = {
        {49, "Coarse", 'V', "V"},
        {50, "Fine", 'B', "B"},
        {51, "Contact", 'N', "N"},
    };
    return signals;
}

const std::vector<KnobPosition>& axisPositions() {
    static const std::vector<KnobPosition> positions = {
        {0, "OFF", VK_F1, "F1"},
        {17, "X", VK_F2, "F2"},
        {18, "Y", VK_F3, "F3"},
        {19, "Z", VK_F4, "F4"},
        {20, "Spindle override", VK_F5, "F5"},
        {21, "Feed override", VK_F6, "F6"},
        {22, "Lead", VK_F7, "F7"},
    };
    return positions;
}

const std::vector<KnobPosition>& ratePositions() {
    static const std::vector<KnobPosition> positions = {
        {13, "2 %  (0.01 mm)", '1', "1"},
        {14, "10 %  (0.05 mm)", '2', "2"},
        {15, "20 %  (0.1 mm)", '3', "3"},
        {16, "40 %  (0.5 mm)", '4', "4"},
        {26, "60 %  (1 mm)", '5', "5"},
        {27, "80 %  (1 mm)", '6', "6"},
        {155, "100 %  (1 mm)", '7', "7"},
    };
    return positions;
}

}  // namespace virtual_pendant
