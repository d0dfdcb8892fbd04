#pragma once
// Pendant key events: an 8-byte input report decoded into the wheel count and
// the key word, and handed to ncbridge's KeyBoardProc on the reader thread,
// whose input is attached to NcStudio's UI thread first.
#include <windows.h>

namespace pendant {

// The key code of the tool-setter key: SetKnifHigh goes first.
constexpr int kToolSetterKey = 4;

// Report byte 6 as wheelDelta (0 to 255); bytes 2 to 5 (key1, key2, rateKnob,
// axisKnob) as keyWord, each byte in its own place, key1 lowest.
void decodeInputReport(const BYTE report[8], int& wheelDelta, int& keyWord);

// Hands one key event to KeyBoardProc while the link is enabled and NcStudio
// is bound: marks key activity, restores a minimised NcStudio without
// activating it, attaches this thread's input to NcStudio's UI thread and, for
// the tool-setter key, passes the tool-setter settings through SetKnifHigh
// first. Remembers the last event KeyBoardProc received.
void dispatchKeyEvent(int wheelDelta, int keyWord);

// Brings the attachment of this thread's input in line with hostThreadId:
// detaches from the thread attached before, attaches to the current one.
void attachToHostInput();

// The link went down (receiver lost, pendant locked, program ending): when
// the last event KeyBoardProc received still held a key or turned the wheel,
// the release thread hands it one release-only event (the last knob
// positions, no key) while NcStudio is bound and ncbridge loaded, so that no
// continuous jog stays held. Safe from any thread and never waits: it only
// records the request and wakes the release thread. `why` (a literal) is
// what the log gives as its cause.
void releaseHeldKeysOnLinkLoss(const char* why = "link down");

// Waits up to `timeoutMs` until every release asked for has been handed over
// or given up; false when one is still under way.
bool waitForLinkRelease(DWORD timeoutMs);

// The release thread's side.
enum class ReleaseOutcome { Done, NothingHeld, Retry };

// Hands over the release-only event unless the last event KeyBoardProc
// received holds nothing, NcStudio is unbound or ncbridge is not loaded.
// A key event still under way when the release was asked for is waited for
// and then let go of too. NothingHeld: no event was handed over. Retry:
// ncbridge's mutex stayed busy.
ReleaseOutcome handOverRelease();

}  // namespace pendant
