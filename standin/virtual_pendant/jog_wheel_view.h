#pragma once
// The pendant's jog wheel as a child window: turned by the mouse wheel over
// it (one notch, one count) or by dragging it round (one count every
// kDegreesPerCount, clockwise positive). Each turn is told to the parent as
// kWheelTurned with the signed count in wParam; the parent turns it by the
// arrow keys through turnJogWheel.
#include <windows.h>

namespace virtual_pendant {

constexpr UINT kWheelTurned = WM_APP + 1;
constexpr double kDegreesPerCount = 10.0;

const char* jogWheelViewClass(HINSTANCE instance);

// Turns the wheel by `counts` as if the user had: drawn and told.
void turnJogWheel(HWND wheel, int counts);

}  // namespace virtual_pendant
