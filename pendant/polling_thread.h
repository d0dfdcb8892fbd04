#pragma once
// The status polling thread: about every 80 ms while the link is active it
// reads the machine state, the jog step and the location text from ncbridge
// and has the display frame built and sent. The auto-reset event "rzlcd" is
// its tick and its stop signal.
#include <windows.h>

namespace pendant {

// The status values of the last polling pass, read by the display frame.
struct StatusWords {
    volatile DWORD stateWord = 0;  // GetMaState: screen in bits 8-15, machine status in 0-7
    volatile DWORD stepWord = 0;   // GetMaStep: step code, host mode and step size
};

StatusWords& statusWords();

// Where a polling pass reads the status values: ncbridge's exports unless a
// test installs another source. Each returns false when the export could not
// be called; `result` then keeps its value.
class StatusSource {
public:
    virtual ~StatusSource() = default;
    // Loads ncbridge when it is not loaded yet; a failed load is tried again
    // on the next pass.
    virtual void loadBridge() = 0;
    virtual bool getMaState(HWND mainWindow, int& result) = 0;
    virtual bool getMaStep(int& result) = 0;
    virtual bool getAxisLocation(char* buffer1024, int& result) = 0;
};

// Replaces the status source; nullptr brings back ncbridge's exports.
void installStatusSource(StatusSource* source);

// Creates the auto-reset event "rzlcd", not signalled; false when it cannot
// be created.
bool createRefreshEvent();

// Closes the event; later stops no longer signal it.
void closeRefreshEvent();

// One pass of the thread loop; false when the event asked the thread to end.
bool pollPass();

// The thread procedure: passes until stopped; the parameter is not used.
DWORD WINAPI pollingThreadProc(LPVOID unused);

// Starts the thread (created suspended, then resumed); false without the
// event or when the thread cannot be created.
bool startPolling();

// Asks for the release of a key still held, closes the receiver, gives the
// release up to 1 s to reach ncbridge, then asks the thread to end and waits
// for it about 2 s. A thread still running then is stuck inside a call that
// does not return and is ended by force. Safe to call again: a second stop
// finds no thread.
void stopPolling();

// StateWord, StepWord and the stop request back to 0 (main window start).
void resetPolling();

}  // namespace pendant
