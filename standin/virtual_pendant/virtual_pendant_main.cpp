// The virtual pendant: a window that is the pendant, for trying wheelpad and
// NcStudio without the pendant and its receiver. It serves the receiver pipe
// that wheelpad's virtual receiver opens (wheelpad started with
// WHEELPAD_RECEIVER set to the same name).
//
//   virtual_pendant [--pipe NAME] [--log FILE]
//
// The pipe is WHEELPAD_RECEIVER's when that is set, otherwise
// \\.\pipe\wheelpad-receiver. The log gets the receiver's coming and going,
// every report with new bytes and every new display, as the stand-in pendant
// prints them.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "standin/virtual_pendant/event_log.h"
#include "standin/virtual_pendant/pendant_window.h"

namespace {

const char* const kUsage = "virtual_pendant [--pipe NAME] [--log FILE]";

std::string defaultPipeName() {
    const char* fromEnvironment = std::getenv("WHEELPAD_RECEIVER");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : "\\\\.\\pipe\\wheelpad-receiver";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    std::string pipeName = defaultPipeName();
    std::string logPath;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg == "--pipe" && i + 1 < __argc) {
            pipeName = __argv[++i];
        } else if (arg == "--log" && i + 1 < __argc) {
            logPath = __argv[++i];
        } else {
            MessageBoxA(nullptr, kUsage, virtual_pendant::kWindowTitle, MB_OK | MB_ICONINFORMATION);
            return 2;
        }
    }

    virtual_pendant::EventLog log;
    if (!log.open(logPath)) {
        MessageBoxA(nullptr, ("Cannot write the log " + logPath).c_str(), virtual_pendant::kWindowTitle,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    virtual_pendant::PendantWindow window(pipeName, log);
    if (!window.open(instance, show)) {
        log.write("cannot serve " + pipeName);
        MessageBoxA(nullptr, ("Cannot serve " + pipeName + ": another pendant serves it.").c_str(),
                    virtual_pendant::kWindowTitle, MB_OK | MB_ICONERROR);
        return 1;
    }

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (window.takeInput(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    log.write("ended");
    return 0;
}
