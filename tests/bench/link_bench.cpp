// Timing of the display link, run by hand: building a frame, building and
// sending it to fake receiver interfaces, a held-back build, and one active
// polling pass with status values that come back at once.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "tests/pendant/fake_hid.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kLocation[] = "X:-1234.567:2000:24000:";

class InstantStatus : public pendant::StatusSource {
public:
    bool getMaState(HWND, int& result) override { return (result = 0, true); }
    bool getMaStep(int& result) override { return (result = 0x00010500, true); }
    bool getAxisLocation(char* buffer1024, int& result) override {
        std::strcpy(buffer1024, kLocation);
        return (result = 1, true);
    }
};

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

    InstantStatus status;
    pendant::installStatusSource(&status);
    pendant::createRefreshEvent();
    report("one active polling pass (80 ms tick included)", 20, [] { pendant::pollPass(); });
    pendant::stopPolling();
    pendant::closeRefreshEvent();
    pendant::installStatusSource(nullptr);
    return 0;
}
