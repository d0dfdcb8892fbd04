#pragma once
// NcStudio's dialog for setting the work coordinate, opened by a right-click
// on a coordinate button of the coordinate panel: "Set current work
// coordinate:" (generation 1, one edit per axis holding the desired current
// coordinate) or "Offset Setting" (generation 2, edits holding offsets).
#include <windows.h>

namespace executor {

// Which titles waitForCoordinateDialog looks for.
enum class CoordinateDialogTitles { SetCoordinateOnly, Both };

// Right-button down and up on `button`, then 40 ms.
void rightClick(HWND button);

// Right-clicks the first coordinate button of the coordinate panel, if any.
void openCoordinateDialog();

// Up to 50 times: 40 ms, then the dialog looked for by title. nullptr after
// the 50th try.
HWND waitForCoordinateDialog(CoordinateDialogTitles titles);

// The offset edit of `axis` (1 X, 2 Y, 3 Z) in "Offset Setting", refreshing
// publicOffset from the dialog on the way. With a "Public Offset" child the
// three edits after it are the public offsets and the next three the axes'
// offsets; without it the edits count from the first: 3, 4, 5 the axes'
// offsets, 6, 7, 8 the public offsets. Empty edits count but are never read.
// nullptr when the axis's edit is missing or empty, or when the dialog did not
// show the axis's public offset: an offset computed from a public offset read
// in another dialog would set a coordinate the operator never asked for.
HWND readOffsets(HWND dialog, int axis);

// WM_COMMAND OK to the dialog.
void confirmCoordinateDialog(HWND dialog);

}  // namespace executor
