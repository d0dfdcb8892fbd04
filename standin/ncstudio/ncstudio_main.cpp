// The stand-in NcStudio as a program of its own: NcStudio's windows for the
// generation its version resource names (product major version 5:
// generation 1, any other: generation 2), behaving as a CNC control does as
// far as the driver can see, and logging every action that reaches them.
//
//   ncstudio [--hidden | --inactive] [--log FILE] [--stdin]
//
//   --hidden     the windows are never shown (tests: hiding a shown window
//                is slow under Wine); dialogs still become the foreground
//   --inactive   the main window is shown without coming to the front
//   --log FILE   the log goes to FILE instead of stdout
//   --stdin      commands are read from stdin, one a line, and the program
//                ends when stdin closes:
//                  prompt TEXT   a message box "NcStudio" shows TEXT
//                  estop         the emergency stop is pressed
//                  front         the main window comes to the front
//                  pause MS      the UI thread stops answering for MS ms
//                                (a large program file loading)
//                  parameters ROW VALUE
//                                the parameters window lists "SafeHeight"
//                                with VALUE in ROW (-1: nowhere)
//                  change SEED   one random change of its windows, chosen
//                                by SEED, logged as "changed SEED: ..."
//                  quit          the program ends
//
// The program also ends when its main window is asked to close (WM_CLOSE).
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "standin/ncstudio/action_log.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/machine.h"
#include "standin/ncstudio/ncstudio_behaviour.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "standin/ncstudio/ncstudio_windows.h"
#include "standin/ncstudio/parameters_menu.h"
#include "standin/ncstudio/window_changes.h"
#include "standin/ncstudio/work_coordinate_dialogs.h"

namespace {

struct Options {
    bool hidden = false;
    bool inactive = false;
    bool commandsOnStdin = false;
    std::string logPath;
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--hidden") options.hidden = true;
        else if (arg == "--inactive") options.inactive = true;
        else if (arg == "--stdin") options.commandsOnStdin = true;
        else if (arg == "--log" && i + 1 < argc) options.logPath = argv[++i];
        else return false;
    }
    return !(options.hidden && options.inactive);
}

// Product major version of this program's own version resource; 0 without one.
int ownProductMajorVersion() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return 0;
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path, 0, size, &block[0]) ||
        !VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return 0;
    return HIWORD(fixed->dwProductVersionMS);
}

constexpr int kFeed = 1500;      // mm/min
constexpr int kSpindle = 18000;  // rpm

// Where the machine stands when NcStudio starts.
const standin::Machine::Position kStartPosition = {{12500, -3250, 0}, {112500, 46750, -20000}};

void readCommands(standin::HostThread& host, standin::NcStudioBehaviour& behaviour,
                  standin::ParametersMenu& parameters, standin::WindowChanges& changes, standin::ActionLog& log,
                  HANDLE ended) {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        log.write("command: " + line);
        const std::string word = line.substr(0, line.find(' '));
        const std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
        if (word == "quit") break;
        if (word == "prompt") host.invoke([&] { behaviour.showPrompt(rest); });
        else if (word == "estop") host.invoke([&] { behaviour.emergencyStop(); });
        else if (word == "front") host.invoke([&] { behaviour.comeToFront(); });
        else if (word == "pause") host.pause(static_cast<DWORD>(std::atoi(rest.c_str())));
        else if (word == "change")
            log.write("changed " + rest + ": " + changes.apply(static_cast<unsigned>(std::strtoul(rest.c_str(), nullptr, 10))));
        else if (word == "parameters") {
            const std::string value = rest.substr(rest.find(' ') + 1);
            host.invoke([&] { parameters.setParameters(standin::parameterList(std::atoi(rest.c_str()), value)); });
        }
        else log.write("unknown command: " + line);
    }
    SetEvent(ended);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::cerr << "usage: ncstudio [--hidden | --inactive] [--log FILE] [--stdin]" << std::endl;
        return 2;
    }
    standin::ActionLog log;
    if (!log.open(options.logPath)) {
        std::cerr << "cannot write " << options.logPath << std::endl;
        return 1;
    }
    const int major = ownProductMajorVersion();
    const int generation = major == 5 ? 1 : 2;

    HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    standin::HostThread host;
    standin::NcStudioBuilder builder(host);
    standin::Machine machine(kStartPosition);
    machine.selectStep(1);
    standin::NcStudioWindows windows = standin::buildNcStudioWindows(builder, generation, machine, kFeed, kSpindle);
    standin::NcStudioBehaviour behaviour(builder, windows, machine, log, !options.hidden,
                                         [ended] { SetEvent(ended); });
    standin::ParametersMenu parameters(host, windows.main, log, !options.hidden);
    host.setReaction([&](const standin::Received& r) { return parameters.react(r) || behaviour.react(r); });
    // A confirmed work-coordinate dialog moves the work coordinate system.
    standin::WorkCoordinateDialogs coordinateDialogs(
        builder, windows.panel, generation, standin::OffsetLayout::WithPublicOffsetLabel, [&](int axis, double work) {
            const long before = machine.work(axis);
            machine.setWork(axis, std::lround(work * 1000));
            SetWindowTextA(windows.panel.workCoordinates[axis], standin::millimetres(machine.work(axis)).c_str());
            if (machine.work(axis) != before)
                log.write(std::string("work coordinate ") + "XYZ"[axis] + ": " + standin::millimetres(machine.work(axis)));
        });
    host.invoke([&] {
        if (options.hidden) return;
        ShowWindow(windows.main, options.inactive ? SW_SHOWNOACTIVATE : SW_SHOW);
        if (!options.inactive) SetForegroundWindow(windows.main);
    });
    log.write("NcStudio " + std::to_string(major) + " (generation " + std::to_string(generation) +
              ") started: \"" + standin::mainWindowTitle(generation) + "\"");

    standin::WindowChanges changes(builder, windows);
    if (options.commandsOnStdin)
        std::thread(readCommands, std::ref(host), std::ref(behaviour), std::ref(parameters), std::ref(changes),
                    std::ref(log), ended)
            .detach();
    WaitForSingleObject(ended, INFINITE);
    log.write("NcStudio ended");
    // The windows go with the process: destroying shown windows one by one
    // would cost seconds under Wine.
    ExitProcess(0);
}
