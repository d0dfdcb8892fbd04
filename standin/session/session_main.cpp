// A session of the whole pendant link against the stand-ins, in one process:
// a stand-in NcStudio (generation 2) on a thread of its own, a stand-in
// pendant serving the virtual receiver's pipe, and wheelpad's link — the
// receiver opened through the virtual receiver, its reader thread handing key
// events to ncbridge.dll, the polling thread sending the display frames.
// NcStudio is bound the way wheelpad binds it when it comes to the front.
//
//   session [--script FILE]
//
// Without a script the built-in one runs. The pendant's display is shown as it
// changes; at the end, everything NcStudio's windows received is listed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "pendant/receiver_selection.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "standin/pendant/display_assembler.h"
#include "standin/pendant/pendant_commands.h"
#include "standin/pendant/pendant_server.h"
#include "standin/session/session_ncstudio.h"

namespace {

// Jog X in steps, then continuously, switch ON/OFF, start, pause and stop.
constexpr const char* kBuiltInScript = R"(# axis knob on X; once the display shows NcStudio, the rate knob to 10
# percent: 0.05 mm steps and 10 percent of the base feed in "Feedrate"
axis X
wait 400
rate 14
wait 300
wheel 1
wheel 1
wheel -1
release
wait 300
# key 12: continuous jog in the positive direction while held
key 12
wait 300
release
wait 400
axis Y
wheel 2
release
wait 300
key 10
release
key 4
release
wait 300
key 4
release
wait 300
key 3
release
wait 500
)";

std::mutex outputLock;

void say(const std::string& text) {
    std::lock_guard<std::mutex> hold(outputLock);
    std::cout << text << std::endl;
}

std::string messageName(UINT message) {
    switch (message) {
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_COMMAND: return "WM_COMMAND";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_CLOSE: return "WM_CLOSE";
    case BM_CLICK: return "BM_CLICK";
    case EM_SETSEL: return "EM_SETSEL";
    case EM_REPLACESEL: return "EM_REPLACESEL";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%04X", message);
        return text;
    }
    }
}

// What the display shows, each new text once.
class DisplayWatcher {
public:
    void onFeatureReport(const standin::Report& report) {
        if (assembler_.add(report) != standin::DisplayAssembler::Outcome::FrameComplete) return;
        const standin::DisplayText& display = assembler_.display();
        if (shown_ && display == last_) return;
        shown_ = true;
        last_ = display;
        std::string text = "pendant display:";
        for (const std::string& line : display.lines) text += "\n  |" + line + "|";
        say(text);
    }

private:
    standin::DisplayAssembler assembler_;
    standin::DisplayText last_;
    bool shown_ = false;
};

bool runScript(std::istream& script, standin::PendantServer& pendant) {
    standin::PendantControls controls;
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        std::optional<standin::PendantCommand> command;
        std::string error;
        if (!standin::parseCommand(line, command, error)) {
            say("script line " + std::to_string(number) + ": " + error);
            return false;
        }
        if (!command) continue;
        using Kind = standin::PendantCommand::Kind;
        switch (command->kind) {
        case Kind::Wait:
            Sleep(static_cast<DWORD>(command->first));
            break;
        case Kind::Quit:
            return true;
        case Kind::Channels:
        case Kind::Ids:
            break;
        default:
            say("pendant: " + line);
            pendant.sendInputReport(controls.apply(*command));
            Sleep(120);  // the executor's waits run in real time
            break;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scriptText = kBuiltInScript;
    if (argc == 3 && std::string(argv[1]) == "--script") {
        std::ifstream file(argv[2]);
        if (!file) {
            std::cerr << "cannot read " << argv[2] << std::endl;
            return 2;
        }
        std::stringstream content;
        content << file.rdbuf();
        scriptText = content.str();
    } else if (argc != 1) {
        std::cerr << "usage: session [--script FILE]" << std::endl;
        return 2;
    }

    standin::HostThread host;
    standin::SessionNcStudio ncstudio(host);

    const std::string pipe = "\\\\.\\pipe\\wheelpad-session-" + std::to_string(GetCurrentProcessId());
    DisplayWatcher watcher;
    standin::PendantServer pendant(pipe, [&](const standin::Report& r) { watcher.onFeatureReport(r); });
    if (!pendant.start()) {
        std::cerr << "the pendant cannot serve " << pipe << std::endl;
        return 1;
    }
    SetEnvironmentVariableA("WHEELPAD_RECEIVER", pipe.c_str());
    pendant::selectReceiverFromEnvironment();

    app::ProcessState& state = app::state();
    state.linkUp = pendant::device().openDevice(nullptr);
    state.linkEnabled = state.linkUp;
    if (!state.linkUp) {
        std::cerr << "the receiver did not open" << std::endl;
        return 1;
    }
    say("receiver open");
    if (!standin::bindNcStudio(ncstudio.main, host.threadId())) {
        std::cerr << "ncbridge.dll did not bind to NcStudio" << std::endl;
        return 1;
    }
    say("ncbridge bound to NcStudio");
    pendant::resetPolling();
    if (!pendant::createRefreshEvent() || !pendant::startPolling()) {
        std::cerr << "the polling thread did not start" << std::endl;
        return 1;
    }
    host.clearReceived();

    std::istringstream script(scriptText);
    bool scriptOk = runScript(script, pendant);

    pendant::stopPolling();
    pendant::closeRefreshEvent();
    host.sync();
    say("NcStudio received:");
    for (const standin::Received& r : host.received()) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-16s %-14s wParam 0x%llX lParam 0x%llX", ("\"" + r.text + "\"").c_str(),
                      messageName(r.message).c_str(), static_cast<unsigned long long>(r.wParam),
                      static_cast<unsigned long long>(r.lParam));
        say(line);
    }
    app::freeBridge();
    return scriptOk ? 0 : 1;
}
