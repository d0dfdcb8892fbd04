#pragma once
// NcStudio's machine coordinates X, Y, Z as GetAxisLocation last read them
// from the coordinate panel: each a verbatim copy of the 64-byte text buffer.
// Per process; used under the bridge mutex.
#include "bridge/host_windows.h"

namespace bridge {

constexpr int kMachineAxes = 3;  // X, Y, Z

extern char machineCoordText[kMachineAxes][kWindowTextSize];

}  // namespace bridge
