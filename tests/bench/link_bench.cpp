// Timing of the display link, run by hand: building a frame, building and
// sending it to fake receiver interfaces, a held-back build; then the status
// calls of a polling pass into the real ncbridge.dll against a stand-in
// NcStudio, once on another thread of this process and once in a process of
// its own (as NcStudio runs), and the key path of two key events. Besides the
// time, each figure gives the messages that reached NcStudio's UI thread and
// the user32 calls ncbridge.dll made.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "platform/support_log.h"
#include "standin/ncstudio/host_thread.h"
#include "tests/bench/bench_ncstudio.h"
#include "tests/bench/call_counter.h"
#include "tests/bench/message_counter.h"
#include "tests/pendant/fake_hid.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kLocation[] = "X:-1234.567:2000:24000:";
constexpr int kAxisX = 17;
constexpr int kRateStep05 = 16;  // rate knob at 40 %: the step 0.5 mm
// Every key event's knobs: the axis knob on X, the rate knob on 40 %.
constexpr int kKnobs = (kAxisX << 24) | (kRateStep05 << 16);
constexpr int kStartKey = 4;
constexpr int kStatusRounds = 100;
constexpr int kKeyRounds = 20;
constexpr DWORD kPollingWaitMs = 80;  // the polling thread's wait between passes

double microsPerRound(int rounds, const std::function<void()>& step) {
    const auto start = Clock::now();
    for (int round = 0; round < rounds; ++round) step();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Times of a round in ms: the median and the shortest in all, and the median
// of the round's own work beside the time it slept. Medians and minima, as
// this machine is shared and a round that the scheduler interrupted should
// not count.
struct RoundTimes {
    double totalMs;
    double shortestMs;
    double ownMs;
};

// With `pauseMs`, each round comes after a wait of that long, not timed, as
// the polling thread waits between its passes.
RoundTimes medianTimes(int rounds, const std::function<void()>& step, DWORD pauseMs) {
    std::vector<double> totals, owns;
    HANDLE neverSet = pauseMs ? CreateEventA(nullptr, TRUE, FALSE, nullptr) : nullptr;
    for (int round = 0; round < rounds; ++round) {
        if (neverSet) WaitForSingleObject(neverSet, pauseMs);
        const double sleptBefore = bench::callCounts().sleptMs;
        const auto start = Clock::now();
        step();
        const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        totals.push_back(total);
        owns.push_back(total - (bench::callCounts().sleptMs - sleptBefore));
    }
    if (neverSet) CloseHandle(neverSet);
    return {median(totals), *std::min_element(totals.begin(), totals.end()), median(owns)};
}

void reportFrame(const char* what, int rounds, const std::function<void()>& step) {
    std::printf("%-48s %10.2f us  (%d rounds)\n", what, microsPerRound(rounds, step), rounds);
}

// A stand-in NcStudio bound to ncbridge.dll: its main window and the window
// that answers its message counts.
struct BoundNcStudio {
    HWND main = nullptr;
    HWND counter = nullptr;
};

bool bind(const BoundNcStudio& ncstudio) {
    app::callSetVer(1);
    if (!app::callUnHook() || !app::callInstallhook(ncstudio.main)) return false;
    app::state().hostThreadId = GetWindowThreadProcessId(ncstudio.main, nullptr);
    app::callEnableMap(1);
    // The coordinate panel read once (it finds the feed button), then the
    // knobs turned, which selects the step.
    int found = 0;
    char location[1024];
    app::callGetAxisLocation(location, found);
    int result = 0;
    app::callKeyBoardProc(0, kKnobs, result);
    return true;
}

// Time, messages into NcStudio and user32 calls per round of `step`, after
// one round that is not counted.
void measure(const char* what, const BoundNcStudio& ncstudio, int rounds, const std::function<void()>& step,
             bool breakdown = false, DWORD pauseMs = 0) {
    step();
    const bench::MessageCounts messagesBefore = bench::readCounts(ncstudio.counter);
    const bench::CallCounts callsBefore = bench::callCounts();
    const RoundTimes times = medianTimes(rounds, step, pauseMs);
    const bench::MessageCounts messagesAfter = bench::readCounts(ncstudio.counter);
    const bench::CallCounts calls = bench::callCounts().since(callsBefore);
    const double perRound = 1.0 / rounds;
    std::printf("%-40s %8.3f ms (min %6.3f) %5.1f sent %5.1f posted %6.1f user32 calls", what, times.totalMs,
                times.shortestMs,
                (messagesAfter.sent - messagesBefore.sent) * perRound,
                (messagesAfter.posted - messagesBefore.posted) * perRound, calls.user32Calls() * perRound);
    if (calls.sleeps)
        std::printf("; own work %.3f ms beside %.1f waits", times.ownMs, calls.sleeps * perRound);
    std::printf("\n");
    if (!breakdown) return;
    for (const auto& [name, count] : calls.user32)
        if (count) std::printf("    %-20s %6.1f\n", name.c_str(), count * perRound);
}

void pollingPass() {
    int stateWord = 0, stepWord = 0, found = 0;
    char location[1024] = {};
    app::callGetMaState(nullptr, stateWord);
    app::callGetMaStep(stepWord);
    app::callGetAxisLocation(location, found);
}

void measureStatusCalls(const BoundNcStudio& ncstudio, const char* where) {
    std::printf("-- status calls, NcStudio %s\n", where);
    measure("GetMaState", ncstudio, kStatusRounds, [] {
        int stateWord = 0;
        app::callGetMaState(nullptr, stateWord);
    }, true);
    measure("GetMaStep", ncstudio, kStatusRounds, [] {
        int stepWord = 0;
        app::callGetMaStep(stepWord);
    }, true);
    measure("GetAxisLocation", ncstudio, kStatusRounds, [] {
        int found = 0;
        char location[1024];
        app::callGetAxisLocation(location, found);
    }, true);
    measure("one pass (the three calls)", ncstudio, kStatusRounds, pollingPass);
    measure("one pass's work with its frame", ncstudio, kStatusRounds, [] {
        int stateWord = 0, stepWord = 0, found = 0;
        char location[1024] = {};
        app::callGetMaState(nullptr, stateWord);
        app::callGetMaStep(stepWord);
        app::callGetAxisLocation(location, found);
        std::string text = location;
        pendant::buildAndSendFrame(text);
    });
    // As the polling thread runs: its 80 ms wait, then the step, the
    // location, the frame, and the state that starts its next pass.
    measure("one pass after the polling thread's wait", ncstudio, kStatusRounds, [] {
        int stateWord = 0, stepWord = 0, found = 0;
        char location[1024] = {};
        app::callGetMaStep(stepWord);
        app::callGetAxisLocation(location, found);
        std::string text = location;
        pendant::buildAndSendFrame(text);
        app::callGetMaState(nullptr, stateWord);
    }, false, kPollingWaitMs);
}

// The manual page's step radio buttons of the benchmark's step and the next.
struct TwoSteps {
    HWND first;
    HWND second;
};

TwoSteps twoSteps(HWND main) {
    HWND page = main;
    for (int id : {standin::kMainFrameId, standin::kMainFrameId, standin::kManualTabsId, standin::kManualPageId})
        page = GetDlgItem(page, id);
    const auto& captions = standin::stepCaptions(standin::StepCaptions::Selection);
    return {FindWindowExA(page, nullptr, nullptr, captions[bench::kBenchStepIndex].c_str()),
            FindWindowExA(page, nullptr, nullptr, captions[bench::kBenchStepIndex + 1].c_str())};
}

// A pass after the checked step moved: what it costs to see a change. The
// move itself (two BM_SETCHECK) is not counted.
void measureChangedStep(const BoundNcStudio& ncstudio) {
    const TwoSteps steps = twoSteps(ncstudio.main);
    std::vector<double> times;
    long sent = 0;
    long user32Calls = 0;
    for (int round = 0; round < kStatusRounds; ++round) {
        const bool toSecond = round % 2 == 0;
        SendMessageA(steps.first, BM_SETCHECK, toSecond ? BST_UNCHECKED : BST_CHECKED, 0);
        SendMessageA(steps.second, BM_SETCHECK, toSecond ? BST_CHECKED : BST_UNCHECKED, 0);
        const bench::MessageCounts messagesBefore = bench::readCounts(ncstudio.counter);
        const bench::CallCounts callsBefore = bench::callCounts();
        const auto start = Clock::now();
        int stepWord = 0;
        app::callGetMaStep(stepWord);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        const bench::MessageCounts messagesAfter = bench::readCounts(ncstudio.counter);
        sent += messagesAfter.sent - messagesBefore.sent;
        user32Calls += bench::callCounts().since(callsBefore).user32Calls();
    }
    std::printf("%-40s %8.3f ms (min %6.3f) %5.1f sent %5s        %6.1f user32 calls\n",
                "GetMaStep after the step moved", median(times) / 1000,
                *std::min_element(times.begin(), times.end()) / 1000, double(sent) / kStatusRounds, "",
                double(user32Calls) / kStatusRounds);
    SendMessageA(steps.first, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(steps.second, BM_SETCHECK, BST_UNCHECKED, 0);
}

void measureKeyPath(const BoundNcStudio& ncstudio) {
    std::printf("-- key path, NcStudio in its own process\n");
    measure("step jog click (wheel +1 on X)", ncstudio, kKeyRounds,
            [] {
                int result = 0;
                app::callKeyBoardProc(1, kKnobs, result);
            });
    measure("start key (key 4 down, then released)", ncstudio, kKeyRounds, [] {
        int result = 0;
        app::callKeyBoardProc(0, kKnobs | kStartKey, result);
        app::callKeyBoardProc(0, kKnobs, result);
    });
}

// The benchmark's stand-in NcStudio program, started beside this one.
class NcStudioProcess {
public:
    bool start() {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::strcpy(std::strrchr(path, '\\') + 1, "bench_ncstudio.exe");
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        const bool started =
            CreateProcessA(path, nullptr, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_) != FALSE;
        CloseHandle(writeEnd);
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (started && ReadFile(readEnd, &c, 1, &got, nullptr) && got == 1 && c != '\n') line += c;
        CloseHandle(readEnd);
        unsigned long long main = 0, counter = 0;
        if (std::sscanf(line.c_str(), "main %llu counter %llu", &main, &counter) != 2) return false;
        windows_.main = reinterpret_cast<HWND>(static_cast<UINT_PTR>(main));
        windows_.counter = reinterpret_cast<HWND>(static_cast<UINT_PTR>(counter));
        return true;
    }

    ~NcStudioProcess() {
        if (!process_.hProcess) return;
        PostMessageA(windows_.counter, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }

    const BoundNcStudio& windows() const { return windows_; }

private:
    PROCESS_INFORMATION process_ = {};
    BoundNcStudio windows_;
};

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

    reportFrame("build one frame (bytes only)", 100000, [] {
        std::string text = kLocation;
        pendant::buildFrame(0, 0x00010500, text, 7);
    });
    reportFrame("build and send one frame (9 reports)", 20000, [&] {
        state.forceFrame = 1;
        std::string text = kLocation;
        pendant::buildAndSendFrame(text);
        hid.clearFeatureReports();
    });
    reportFrame("build an unchanged frame (1 in 6 is sent)", 60000, [] {
        std::string text = kLocation;
        pendant::buildAndSendFrame(text);
    });

    // A support log line as the reader thread writes one per key event; the
    // writer thread puts the lines on disk meanwhile (and starts the older
    // file every megabyte).
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    platform::openSupportLog(std::string(temp) + "link_bench-wheelpad.log", platform::LogLevel::Reports);
    platform::nameLogThread("reader");
    std::vector<double> lineMicros;
    for (int round = 0; round < 20000; ++round) {
        const auto start = Clock::now();
        platform::logEvent("key event: keys %u %u, wheel %d, rate knob %u, axis knob %u", 12u, 0u, 1, 16u, 17u);
        lineMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(lineMicros.begin(), lineMicros.end());
    std::printf("%-48s %10.2f us median, %.2f us at 99.9 %%, %.2f us longest (20000 lines)\n",
                "one support log line (a key event)", lineMicros[lineMicros.size() / 2],
                lineMicros[lineMicros.size() * 999 / 1000], lineMicros.back());
    reportFrame("one input report line (level reports)", 20000, [] {
        const BYTE report[8] = {4, 0, 12, 0, 16, 17, 1, 0};
        platform::logAt(platform::LogLevel::Reports, "input report %02X %02X %02X %02X %02X %02X %02X %02X", report[0],
                        report[1], report[2], report[3], report[4], report[5], report[6], report[7]);
    });
    platform::closeSupportLog();

    HMODULE bridge = app::ensureBridgeLoaded();
    if (!bridge) {
        std::printf("ncbridge.dll did not load\n");
        return 1;
    }
    for (const std::string& name : bench::countCallsOf(bridge)) std::printf("user32 %s is not counted\n", name.c_str());

    {
        standin::HostThread host;
        bench::BenchNcStudio ncstudio(host);
        BoundNcStudio inProcess{ncstudio.main(), bench::createCounterWindow()};
        host.invoke(bench::countMessagesReachingThisThread);
        if (!bind(inProcess)) {
            std::printf("ncbridge.dll did not bind to the stand-in NcStudio\n");
            return 1;
        }
        measureStatusCalls(inProcess, "on another thread of this process");
        DestroyWindow(inProcess.counter);
    }

    NcStudioProcess ncstudio;
    if (!ncstudio.start() || !bind(ncstudio.windows())) {
        std::printf("the stand-in NcStudio program did not start or bind\n");
        return 1;
    }
    measureStatusCalls(ncstudio.windows(), "in its own process");
    measureChangedStep(ncstudio.windows());
    char location[1024] = {};
    int found = 0;
    app::callGetAxisLocation(location, found);
    std::printf("(the location text read: \"%s\")\n", location);
    measureKeyPath(ncstudio.windows());

    pendant::device().closeDevice();
    app::freeBridge();
    return 0;
}
