#pragma once
// NcStudio's safe height, which Set Z makes the current Z work coordinate.
#include <string>

namespace executor {

// Generation 1: the text of the edit after the "Safe Height is" label on the
// page of NcStudio's manual tabs that holds it; empty when it is not found.
std::string safeHeightTextGeneration1();

// Generation 2: opens NcStudio's parameters window ("paramters", Alt+'O' then
// 'R'), hides it, reads the "SafeHeight" row of its list view across the
// process boundary into zBase (safeHeightKnown set) and closes the window
// again. A list without that row, or with an empty value, gives 11.0 when no
// safe height is known yet. A window that never opens or a list that cannot
// be read leaves zBase and safeHeightKnown as they were.
void readSafeHeightFromParameters();

}  // namespace executor
