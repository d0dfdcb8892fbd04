// The stand-in pendant: serves the receiver pipe that wheelpad's virtual
// receiver connects to (wheelpad runs with WHEELPAD_RECEIVER set to the same
// name), or the virtual receiver device that wheelpad finds among the HID
// devices as it would the real receiver (--device), sends the key, knob and wheel reports of a script and of the commands
// typed on stdin, shows the display frames it receives as the pendant's four
// text lines, logs the re-pair commands and answers status reads.
//
//   pendant [--pipe NAME | --device [--others N]] [--script FILE] [--channels HW TS] [--ids HW TS]
//           [--repeat MS]
//
// With --repeat (or the command "repeat MS") the receiver repeats the report
// every MS milliseconds while a key is down or the wheel turns, and sends a
// few reports without a key after a release, as a receiver whose firmware
// repeats does; repeated reports are not printed.
//
// The commands are listed in pendant_commands.h. Input reports wait for a receiver
// to connect. At the end of the input the pendant goes on serving until it is ended (Ctrl+C) or a "quit" command.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "standin/pendant/display_assembler.h"
#include "standin/pendant/pendant_commands.h"
#include "standin/pendant/report_repeater.h"
#include "standin/pendant/report_text.h"
#include "standin/pendant/transport_options.h"

namespace {

std::mutex outputLock;

void say(const std::string& text) {
    std::lock_guard<std::mutex> hold(outputLock);
    std::cout << text << std::endl;
}

// Shows what the driver writes to the receiver; runs on the server's thread.
class DisplayWatcher {
public:
    void onFeatureReport(const standin::Report& report) {
        using Outcome = standin::DisplayAssembler::Outcome;
        switch (assembler_.add(report)) {
        case Outcome::FrameComplete:
            showIfChanged();
            break;
        case Outcome::RepairToolSetter:
            say("re-pair command: tool setter (" + standin::hexBytes(report) + ")");
            break;
        case Outcome::RepairHandwheel:
            say("re-pair command: handwheel (" + standin::hexBytes(report) + ")");
            break;
        case Outcome::Stray:
            say("feature report: " + standin::hexBytes(report));
            break;
        case Outcome::Piece:
            break;
        }
    }

private:
    // Frames are repeated while nothing changes; each new text is shown once.
    void showIfChanged() {
        const standin::DisplayText& display = assembler_.display();
        if (shown_ && display == last_) return;
        shown_ = true;
        last_ = display;
        say(standin::displayListing(display));
    }

    standin::DisplayAssembler assembler_;
    standin::DisplayText last_;
    bool shown_ = false;
};

const std::string kUsage = std::string("usage: pendant ") + standin::kTransportUsage +
                           " [--script FILE] [--channels HW TS] [--ids HW TS] [--repeat MS]";

struct Options {
    standin::TransportOptions transport;
    std::string scriptPath;
    standin::PendantStatus status;
    DWORD repeatMs = 0;
};

bool parseOptions(int argc, char** argv, Options& options) {
    std::optional<standin::PendantCommand> command;
    std::string error;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (standin::takeTransportOption(argc, argv, i, options.transport, error)) {
            if (!error.empty()) {
                std::cerr << error << std::endl;
                return false;
            }
        } else if (arg == "--script" && i + 1 < argc) {
            options.scriptPath = argv[++i];
        } else if (arg == "--repeat" && i + 1 < argc) {
            if (!standin::parseCommand(std::string("repeat ") + argv[++i], command, error)) {
                std::cerr << arg << ": " << error << std::endl;
                return false;
            }
            options.repeatMs = static_cast<DWORD>(command->first);
        } else if ((arg == "--channels" || arg == "--ids") && i + 2 < argc) {
            std::string line = arg.substr(2) + " " + argv[i + 1] + " " + argv[i + 2];
            i += 2;
            if (!standin::parseCommand(line, command, error)) {
                std::cerr << arg << ": " << error << std::endl;
                return false;
            }
            if (command->kind == standin::PendantCommand::Kind::Channels) {
                options.status.handwheelChannel = static_cast<BYTE>(command->first);
                options.status.toolSetterChannel = static_cast<BYTE>(command->second);
            } else {
                options.status.handwheelId = static_cast<WORD>(command->first);
                options.status.toolSetterId = static_cast<WORD>(command->second);
            }
        } else {
            std::cerr << kUsage << std::endl;
            return false;
        }
    }
    return true;
}

class CommandRunner {
public:
    CommandRunner(standin::ReceiverTransport& server, standin::PendantStatus status, DWORD repeatMs)
        : server_(server),
          status_(status),
          repeater_([&server](const standin::Report& report) { return server.sendInputReport(report); },
                    repeatMs) {}

    // Runs the commands of `input`; false when one of them was "quit".
    bool run(std::istream& input, const std::string& source) {
        std::string line;
        for (int number = 1; std::getline(input, line); ++number) {
            std::optional<standin::PendantCommand> command;
            std::string error;
            if (!standin::parseCommand(line, command, error)) {
                std::cerr << source << ":" << number << ": " << error << std::endl;
            } else if (command && !execute(*command)) {
                return false;
            }
        }
        return true;
    }

private:
    bool execute(const standin::PendantCommand& command) {
        using Kind = standin::PendantCommand::Kind;
        switch (command.kind) {
        case Kind::Quit:
            return false;
        case Kind::Wait:
            Sleep(static_cast<DWORD>(command.first));
            return true;
        case Kind::Channels:
            status_.handwheelChannel = static_cast<BYTE>(command.first);
            status_.toolSetterChannel = static_cast<BYTE>(command.second);
            server_.setStatus(status_);
            return true;
        case Kind::Repeat:
            repeater_.setPeriod(static_cast<DWORD>(command.first));
            return true;
        case Kind::Ids:
            status_.handwheelId = static_cast<WORD>(command.first);
            status_.toolSetterId = static_cast<WORD>(command.second);
            server_.setStatus(status_);
            return true;
        case Kind::Unplug:
            say(server_.unplug() ? "receiver unplugged" : "the receiver did not go");
            return true;
        case Kind::Plug:
            say(server_.plug() ? "receiver plugged in" : "the receiver did not come");
            return true;
        default:
            send(controls_.apply(command));
            return true;
        }
    }

    // A report waits for the receiver to connect, so that a script run
    // before wheelpad has opened the receiver loses nothing.
    void send(const standin::Report& report) {
        for (;;) {
            if (repeater_.send(report, controls_.standing())) {
                say("sent: " + standin::hexBytes(report));
                return;
            }
            say("waiting for the receiver");
            server_.waitForReceiver(INFINITE);
        }
    }

    standin::ReceiverTransport& server_;
    standin::PendantStatus status_;
    standin::PendantControls controls_;
    standin::ReportRepeater repeater_;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) return 2;

    DisplayWatcher watcher;
    auto onFeatureReport = [&watcher](const standin::Report& report) { watcher.onFeatureReport(report); };
    std::unique_ptr<standin::ReceiverTransport> transport = standin::makeTransport(options.transport, onFeatureReport);
    standin::ReceiverTransport& server = *transport;
    server.setStatus(options.status);
    if (!server.start()) {
        std::cerr << "cannot serve " << server.describe() << " (error " << GetLastError() << ")" << std::endl;
        return 1;
    }
    say("serving " + server.describe());

    CommandRunner runner(server, options.status, options.repeatMs);
    if (!options.scriptPath.empty()) {
        std::ifstream script(options.scriptPath);
        if (!script) {
            std::cerr << "cannot read " << options.scriptPath << std::endl;
            return 1;
        }
        if (!runner.run(script, options.scriptPath)) return 0;
    }
    if (!runner.run(std::cin, "stdin")) return 0;
    say("end of input; serving until ended");
    Sleep(INFINITE);
    return 0;
}
