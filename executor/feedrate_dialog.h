#pragma once
// NcStudio's "Feedrate" dialog (generation 2), opened with the feed button of
// the coordinate panel and found as the foreground window. Its first edit holds
// the feed that is set, the edit after it the base feed.
#include <windows.h>

#include <string>

namespace executor {

struct FeedrateDialog {
    HWND window = nullptr;
    HWND feedEdit = nullptr;
    HWND baseEdit = nullptr;
};

// Clicks `feedButton` and waits, up to 31 times 100 ms, for a foreground
// window whose title contains "Feedrate". The window is nullptr when none came.
FeedrateDialog openFeedrateDialog(HWND feedButton);

// The text of one of the dialog's edits (read with WM_GETTEXT); empty when the
// edit is missing.
std::string editText(HWND edit);

// Writes `percent` of the base feed into the feed edit and remembers it as the
// text last written (lastFeedText) with a comparison pending (feedPending).
// Nothing is written when an edit is missing or the base feed is empty.
// Percent 0 writes the base feed itself.
void writeFeedPercent(const FeedrateDialog& dialog, int percent);

// Confirms the dialog with OK and closes it.
void closeFeedrateDialog(const FeedrateDialog& dialog);

}  // namespace executor
