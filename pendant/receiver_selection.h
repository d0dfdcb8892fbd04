#pragma once
// Chooses the receiver wheelpad talks to: the USB receiver through the real
// HID calls, or, when the environment variable WHEELPAD_RECEIVER names a pipe
// (for example \\.\pipe\wheelpad-receiver), a virtual receiver whose pendant
// serves that pipe.

namespace pendant {

// Called once at program start, before the receiver is first opened. Installs
// the virtual receiver when the variable is set and not empty; true when it did.
bool selectReceiverFromEnvironment();

}  // namespace pendant
