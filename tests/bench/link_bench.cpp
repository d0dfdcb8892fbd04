// Timing of the display link, run by hand: building a frame, building and
// sending it to fake receiver interfaces, a held-back build, and the work of
// one active polling pass (the three status calls into the real ncbridge.dll
// against a stand-in NcStudio, then the frame), without the 80 ms tick.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "tests/pendant/fake_hid.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kLocation[] = "X:-1234.567:2000:24000:";

// A generation-2 NcStudio with all that the status readers look at.
HWND buildNcStudio(standin::NcStudioBuilder& ncstudio) {
    HWND main = ncstudio.mainWindow("NcStudio");
    standin::CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "-1234.567";
    texts.overrideTexts = {"100%", "0", "2000", "24000", "80%"};
    ncstudio.coordinatePanelGeneration2(main, texts);
    ncstudio.standardManualButtons(ncstudio.manualPage(main), standin::StepCaptions::Reading, 4);
    ncstudio.statusDialog(main, "IDLE");
    return main;
}

template <typename Step>
void report(const char* what, int rounds, Step step) {
    const auto start = Clock::now();
    for (int round = 0; round < rounds; ++round) step();
    const double micros =
        std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds;
    std::printf("%-44s %10.2f us  (%d rounds)\n", what, micros, rounds);
}

}  // namespace

int main() {
    pendant_testing::FakeHid hid;
    hid.plugIn({pendant_testing::receiverInput(), pendant_testing::receiverFeature()});
    if (pendant::device().openDevice(nullptr) != 1) {
        std::printf("the fake receiver did not open\n");
        return 1;
    }
    app::ProcessState& state = app::state();
    state.linkUp = 1;
    state.linkEnabled = 1;
    state.hostFound = 1;
    pendant::statusWords().stepWord = 0x00010500;

    report("build one frame (bytes only)", 100000, [] {
        std::string text = kLocation;
        pendant::buildFrame(0, 0x00010500, text, 7);
    });
    report("build and send one frame (9 reports)", 20000, [&] {
        state.forceFrame = 1;
        std::string text = kLocation;
        pendant::buildAndSendFrame(text);
        hid.clearFeatureReports();
    });
    report("build an unchanged frame (1 in 6 is sent)", 60000, [] {
        std::string text = kLocation;
        pendant::buildAndSendFrame(text);
    });

    standin::HostThread host;
    standin::NcStudioBuilder ncstudio(host);
    HWND main = buildNcStudio(ncstudio);
    app::callSetVer(1);
    if (!app::callUnHook() || !app::callInstallhook(main)) {
        std::printf("ncbridge.dll did not bind to the stand-in NcStudio\n");
        return 1;
    }
    state.hostThreadId = host.threadId();
    app::callEnableMap(1);
    report("GetMaState (real ncbridge.dll)", 200, [] {
        int stateWord = 0;
        app::callGetMaState(nullptr, stateWord);
    });
    report("GetMaStep (real ncbridge.dll)", 200, [] {
        int stepWord = 0;
        app::callGetMaStep(stepWord);
    });
    report("GetAxisLocation (real ncbridge.dll)", 200, [] {
        int found = 0;
        char location[1024];
        app::callGetAxisLocation(location, found);
    });
    report("one polling pass's work, without the tick", 200, [&] {
        int stateWord = 0, stepWord = 0, found = 0;
        char location[1024];
        app::callGetMaState(nullptr, stateWord);
        app::callGetMaStep(stepWord);
        app::callGetAxisLocation(location, found);
        std::string text = location;
        pendant::buildAndSendFrame(text);
    });
    pendant::device().closeDevice();
    app::freeBridge();
    return 0;
}
