// Soak of the pendant link against the real ncbridge.dll and a stand-in
// NcStudio in real time (run by hand, not a test; see the README):
//
//   link_soak [CYCLES [SECONDS]]
//
// First CYCLES unplug and replug cycles of the virtual receiver (default
// 1000) with the reader and polling threads running, a key held through each
// unplugging; then SECONDS of random input reports (default 60). The handle
// and thread counts are taken after a warm-up of 100 cycles (the threading
// runtime creates the events of a lock the first time two threads meet at
// it, and keeps them), printed every 100 cycles and compared at the end.
// Also printed: the longest reconnect step (a close and an open), when the
// executor's last action on NcStudio came after a final report without a
// key, whether "mdllhook" is free after that, and the jog buttons still held.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tests/pendant/link_rig.h"
#include "tests/support/mutex_holder.h"
#include "tests/support/random_input.h"

using pendant_testing::LinkRig;
using pendant_testing::ProcessCounts;
using pendant_testing::processCounts;
using pendant_testing::settledCounts;
using standin::Report;

namespace {

constexpr int kWarmUpCycles = 100;
constexpr int kCountEvery = 100;

// The cycles, each a key held while the receiver goes and comes back; an
// empty text, or what stopped the cycle after the `done` completed ones.
std::string runCycles(LinkRig& rig, int cycles, int& done, DWORD& longestStep, bool printCounts) {
    for (done = 0; done < cycles; ++done) {
        rig.send(pendant_testing::keyReport(12));
        const std::string stopped = rig.unplugAndReplug(longestStep);
        if (!stopped.empty()) return stopped;
        if (printCounts && (done + 1) % kCountEvery == 0) {
            const ProcessCounts now = processCounts();
            std::printf("  after %d cycles: handles %lu, threads %lu\n", done + 1, now.handles, now.threads);
        }
    }
    return "";
}

// Whether another thread gets "mdllhook" within `timeoutMs` (the polling
// thread holds it for a moment every 80 ms).
bool mutexFreeWithin(DWORD timeoutMs) {
    for (DWORD began = GetTickCount(); GetTickCount() - began < timeoutMs; Sleep(10))
        if (testing_support::otherThreadCanTake()) return true;
    return false;
}

// The arrival time of the last message to NcStudio that a key action sent:
// everything but the polling thread's reads.
DWORD lastActionTime(const LinkRig& rig) {
    DWORD last = 0;
    for (const standin::Received& r : rig.host.received())
        if (r.message != WM_GETTEXT && r.message != WM_GETTEXTLENGTH && r.message != BM_GETCHECK) last = r.time;
    return last;
}

// Waits until no key action has reached NcStudio for `quietMs` (longer than
// any one wait of the executor), at most `timeoutMs`; when the last action
// arrived, or 0 when the actions never stopped.
DWORD waitForLastAction(const LinkRig& rig, DWORD quietMs, DWORD timeoutMs) {
    for (DWORD began = GetTickCount(); GetTickCount() - began < timeoutMs; Sleep(100)) {
        const DWORD last = lastActionTime(rig);
        if (GetTickCount() - last >= quietMs) return last;
    }
    return 0;
}

}  // namespace

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
    int done = 0;
    const std::string warmUp = runCycles(rig, kWarmUpCycles, done, longestStep, false);
    if (!warmUp.empty()) std::printf("warm-up cycle %d: %s\n", done + 1, warmUp.c_str());
    Sleep(200);
    const ProcessCounts before = processCounts();
    std::printf("after %d warm-up cycles: handles %lu, threads %lu\n", kWarmUpCycles, before.handles,
                before.threads);
    longestStep = 0;
    const DWORD cyclesBegan = GetTickCount();
    const std::string stopped = runCycles(rig, cycles, done, longestStep, true);
    if (!stopped.empty()) std::printf("cycle %d: %s\n", done + 1, stopped.c_str());
    const ProcessCounts afterCycles = settledCounts(before);
    std::printf("unplug/replug: %d of %d cycles in %lu ms, longest reconnect step %lu ms\n", done, cycles,
                GetTickCount() - cyclesBegan, longestStep);
    std::printf("  handles %lu -> %lu, threads %lu -> %lu\n", before.handles, afterCycles.handles,
                before.threads, afterCycles.threads);

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> any(0, 255);
    int reports = 0;
    BYTE axisKnob = 17;
    const DWORD reportsBegan = GetTickCount();
    while (GetTickCount() - reportsBegan < seconds * 1000) {
        const testing_support::RandomReport r = testing_support::randomReport(random);
        axisKnob = r.axisKnob;
        const Report report = {4, 0, r.key1, r.key2, r.rateKnob, r.axisKnob, r.wheel, 0};
        rig.send(report);
        ++reports;
        Sleep(static_cast<DWORD>(any(random) % 60));
    }
    rig.send(Report{4, 0, 0, 0, 0, axisKnob, 0, 0});
    // The reports queue in the receiver while the executor works (a turn of
    // the rate knob waits up to 3 s for the Feedrate dialog, which this
    // NcStudio never opens): they are worked through when no action has
    // reached NcStudio for 5 s.
    const DWORD finalSent = GetTickCount();
    const DWORD lastAction = waitForLastAction(rig, 5000, 600000);
    const ProcessCounts afterReports = settledCounts(afterCycles);
    if (lastAction)
        std::printf("random reports: %d in %lu s, the last action %ld ms after the final report without a key\n",
                    reports, seconds, static_cast<long>(lastAction - finalSent));
    else
        std::printf("random reports: %d in %lu s, actions still going 600 s after the final report\n", reports,
                    seconds);
    std::printf("  then \"mdllhook\" free: %s; jog buttons held: %d\n", mutexFreeWithin(1000) ? "yes" : "no",
                static_cast<int>(testing_support::heldButtons(rig.host.received()).size()));
    std::printf("  handles %lu -> %lu, threads %lu -> %lu\n", afterCycles.handles, afterReports.handles,
                afterCycles.threads, afterReports.threads);
    rig.stop();
    return 0;
}
