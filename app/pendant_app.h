#pragma once
// The application object: one instance per desktop (the mutex "RZWN01"), its
// main dialog run modally for the program's whole life.
#include <windows.h>

namespace app {

class PendantApp {
public:
    // A second instance returns TRUE at once, without a window. The first
    // runs the main dialog until it ends and returns FALSE: the process ends.
    BOOL initInstance();
};

constexpr const char* kSingleInstanceMutex = "RZWN01";

}  // namespace app
