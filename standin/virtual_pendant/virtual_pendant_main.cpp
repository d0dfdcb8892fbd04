// The virtual pendant: a window that is the pendant, for trying wheelpad and
// NcStudio without the pendant and its receiver. It serves the receiver pipe
// that wheelpad's virtual receiver opens (wheelpad started with
// WHEELPAD_RECEIVER set to the same name), or with --device plugs in the
// virtual receiver device, which wheelpad finds among the HID devices as it
// would the real receiver (only under Wine, with the receiver bus's drivers
// installed in its prefix).
//
//   virtual_pendant [--pipe NAME | --device [--others N]] [--log FILE]
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

const std::string kUsage = std::string("virtual_pendant ") + standin::kTransportUsage + " [--log FILE]";

standin::TransportOptions defaultTransport() {
    standin::TransportOptions transport;
    const char* fromEnvironment = std::getenv("WHEELPAD_RECEIVER");
    if (fromEnvironment && *fromEnvironment) transport.pipeName = fromEnvironment;
    return transport;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    standin::TransportOptions transport = defaultTransport();
    std::string logPath;
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        std::string error;
        if (standin::takeTransportOption(__argc, __argv, i, transport, error)) {
            if (error.empty()) continue;
        } else if (arg == "--log" && i + 1 < __argc) {
            logPath = __argv[++i];
            continue;
        }
        const std::string text = error.empty() ? kUsage : error + "\n\n" + kUsage;
        MessageBoxA(nullptr, text.c_str(), virtual_pendant::kWindowTitle, MB_OK | MB_ICONINFORMATION);
        return 2;
    }

    virtual_pendant::EventLog log;
    if (!log.open(logPath)) {
        MessageBoxA(nullptr, ("Cannot write the log " + logPath).c_str(), virtual_pendant::kWindowTitle,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    virtual_pendant::PendantWindow window(transport, log);
    if (!window.open(instance, show)) {
        const std::string why =
            transport.device ? "Cannot plug in the virtual receiver device: its drivers are not loaded in this "
                               "Wine prefix, or it did not come."
                             : "Cannot serve " + transport.pipeName + ": another pendant serves it.";
        log.write(why);
        MessageBoxA(nullptr, why.c_str(), virtual_pendant::kWindowTitle, MB_OK | MB_ICONERROR);
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
