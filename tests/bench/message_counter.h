#pragma once
// Counting the messages that reach a stand-in NcStudio's UI thread from other
// threads: those sent to its windows (each a round trip that NcStudio's
// thread handles) and those posted to them. The counts live in the process
// of that thread and are read through a counter window, so a benchmark in
// another process reads them too.
#include <windows.h>

namespace bench {

struct MessageCounts {
    long sent = 0;
    long posted = 0;
};

// Hooks the calling thread (it must pump its messages) to count what reaches
// its windows from other threads.
void countMessagesReachingThisThread();

// A message-only window on the calling thread that answers the counts; from
// another process the calling thread must pump its messages. WM_CLOSE to it
// ends that thread's message loop.
HWND createCounterWindow();

MessageCounts readCounts(HWND counterWindow);

}  // namespace bench
