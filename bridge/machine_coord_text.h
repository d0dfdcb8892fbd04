#pragma once
// NcStudio's machine coordinates X, Y, Z as GetAxisLocation last read them
// from the coordinate panel: each a verbatim copy of the 64-byte text buffer.
// Per process; used under the bridge mutex.
#include "bridge/host_windows.h"

namespace bridge {

constexpr int kMachineAxes = 3;  // X, Y, Z

extern char machineCoordText[kMachineAxes][kWindowTextSize];

// Generation 2: reads the machine coordinate of one axis (0 X, 1 Y, 2 Z) from
// NcStudio's coordinate panel now, into machineCoordText (the other axes'
// copies are refreshed on the way). False, with that axis's copy emptied,
// when NcStudio shows none.
bool readMachineCoordinateNow(int axisIndex);

}  // namespace bridge
