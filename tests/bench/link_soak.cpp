// Soak of the pendant link against the real ncbridge.dll and a stand-in
// NcStudio in real time (run by hand, not a test; see the README):
//
//   link_soak [CYCLES [SECONDS]]
//
// First CYCLES unplug and replug cycles of the virtual receiver (default
// 1000) with the reader and polling threads running, a key held through each
// unplugging; then SECONDS of random input reports (default 60). Prints the
// process's handle and thread counts before and after, the longest reconnect
// step, whether "mdllhook" was ever found owned between reports, and the jog
// buttons still held after a final report without a key.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>

#include "tests/pendant/link_rig.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/random_input.h"

using pendant_testing::LinkRig;
using pendant_testing::ProcessCounts;
using pendant_testing::processCounts;
using standin::Received;
using standin::Report;


int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 60;
    LinkRig rig;
    const std::string failed = rig.start();
    if (!failed.empty()) {
        std::printf("set-up failed: %s\n", failed.c_str());
        return 1;
    }

    DWORD longestStep = 0;
    const std::string first = rig.unplugAndReplug(longestStep);
    if (!first.empty()) std::printf("first cycle: %s\n", first.c_str());
    Sleep(200);
    const ProcessCounts before = processCounts();
    const DWORD cyclesBegan = GetTickCount();
    int done = 0;
    std::string stopped;
    for (; done < cycles && stopped.empty(); ++done) {
        rig.send(pendant_testing::keyReport(12));
        stopped = rig.unplugAndReplug(longestStep);
    }
    if (!stopped.empty()) std::printf("cycle %d: %s\n", done, stopped.c_str());
    const ProcessCounts afterCycles = pendant_testing::settledCounts(before);
    std::printf("unplug/replug: %d of %d cycles in %lu ms, longest reconnect step %lu ms\n", done, cycles,
                GetTickCount() - cyclesBegan, longestStep);
    std::printf("  handles %lu -> %lu, threads %lu -> %lu\n", before.handles, afterCycles.handles,
                before.threads, afterCycles.threads);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> any(0, 255);
    int reports = 0, ownedSeen = 0;
    BYTE axisKnob = 17;
    const DWORD reportsBegan = GetTickCount();
    while (GetTickCount() - reportsBegan < seconds * 1000) {
        const testing_support::RandomReport r = testing_support::randomReport(random);
        axisKnob = r.axisKnob;
        const Report report = {4, 0, r.key1, r.key2, r.rateKnob, r.axisKnob, r.wheel, 0};
        rig.send(report);
        ++reports;
        Sleep(static_cast<DWORD>(any(random) % 60));
        if (!testing_support::otherThreadCanTake()) ++ownedSeen;
    }
    rig.send(Report{4, 0, 0, 0, 0, axisKnob, 0, 0});
    Sleep(2000);  // the executor works through what the reports left
    const ProcessCounts afterReports = processCounts();
    std::printf("random reports: %d in %lu s, \"mdllhook\" found owned %d times (a call under way)\n", reports,
                seconds, ownedSeen);
    std::printf("  jog buttons held after a final report without a key: %d; \"mdllhook\" free at the end: %s\n",
                static_cast<int>(testing_support::heldButtons(rig.host.received()).size()), testing_support::otherThreadCanTake() ? "yes" : "no");
    std::printf("  handles %lu -> %lu, threads %lu -> %lu\n", afterCycles.handles, afterReports.handles,
                afterCycles.threads, afterReports.threads);
    rig.stop();
    return 0;
}
