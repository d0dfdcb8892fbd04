#pragma once
// One input report of the receiver, read and handed on as a key event.

namespace pendant {

// Reads one 8-byte report (report id 4 put in first) and dispatches it.
// False when the input interface is not open or the read failed; true when a
// report was dispatched or the reader was asked to stop.
bool readReport();

}  // namespace pendant
