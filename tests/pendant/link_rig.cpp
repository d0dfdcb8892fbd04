#include "tests/pendant/link_rig.h"

#include <tlhelp32.h>

#include <algorithm>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/hid_api.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"

namespace pendant_testing {
namespace {

// NcStudio's windows of generation 2, idle, the 0.05 mm step checked,
// without behaviour: what the driver posts is recorded, not acted on.
standin::NcStudioWindows buildNcStudio(standin::NcStudioBuilder& build) {
    standin::NcStudioWindows w;
    w.main = build.mainWindow(standin::mainWindowTitle(2));
    standin::CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "12.500";
    texts.workCoordinates[1] = "-3.250";
    texts.machineCoordinates = {"112.500", "46.750", "-20.000"};
    texts.overrideTexts = {"100%", "0", "1500", "18000", "80%"};
    w.panel = build.coordinatePanelGeneration2(w.main, texts);
    w.manualPage = build.manualPage(w.main);
    build.standardManualButtons(w.manualPage, standin::StepCaptions::Selection, 2);
    for (int i = 0; i < 2 * standin::kAxisCount; ++i)
        w.jogButtons[i] = FindWindowExA(w.manualPage, nullptr, nullptr, standin::kJogCaptions[i]);
    w.runState = build.statusDialog(w.main, "IDLE");
    w.controlBar = build.controlBar(w.main);
    w.feedrate = build.feedrateDialog(w.panel.commandSetButton, "1500.000000", "3000.000000");
    return w;
}

// Binds ncbridge to NcStudio's main window as wheelpad does when it comes to
// the front: SetVer, UnHook, installhook, SetPcState and EnableMap.
bool bindNcStudio(HWND main, DWORD threadId) {
    app::callSetVer(1);
    if (!app::callUnHook() || !app::callInstallhook(main)) return false;
    app::ProcessState& state = app::state();
    state.hostThreadId = threadId;
    state.hostWindow = main;
    state.hostProcessId = GetCurrentProcessId();
    app::callSetPcState(main, 0);
    state.hostFound = 1;
    app::callEnableMap(1);
    return true;
}

std::string freshPipeName() {
    static int count = 0;
    return "\\\\.\\pipe\\wheelpad-rig-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
}

}  // namespace

ProcessCounts settledCounts(const ProcessCounts& expected) {
    ProcessCounts counts = processCounts();
    for (int wait = 0; wait < 30 && (counts.handles > expected.handles || counts.threads > expected.threads);
         ++wait) {
        Sleep(100);
        counts = processCounts();
    }
    return counts;
}

ProcessCounts processCounts() {
    ProcessCounts counts;
    // Counted one by one: Wine's GetProcessHandleCount gives 0.
    constexpr UINT_PTR kHandleValues = 0x10000;
    for (UINT_PTR value = 4; value < kHandleValues; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++counts.handles;
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++counts.threads;
    CloseHandle(snapshot);
    return counts;
}

LinkRig::LinkRig()
    : ncstudio(buildNcStudio(builder)),
      pipeName(freshPipeName()),
      pendant(pipeName, [this](const Report& r) { written.add(r); }),
      receiver(pipeName) {}

LinkRig::~LinkRig() { stop(); }

std::string LinkRig::start() {
    if (!pendant.start()) return "the pendant cannot serve its pipe";
    pendant::installHid(&receiver);
    started_ = true;
    app::ProcessState& state = app::state();
    state.linkEnabled = 1;
    state.linkUp = pendant::device().openDevice(nullptr);
    if (!state.linkUp) return "the receiver did not open";
    if (!bindNcStudio(ncstudio.main, host.threadId())) return "ncbridge.dll did not bind";
    pendant::resetPolling();
    pendant::resetDisplay();
    if (!pendant::createRefreshEvent() || !pendant::startPolling()) return "no polling thread";
    // The first polls (the start report and a frame of at least five pieces,
    // then a few more): NcStudio idle, the step as it shows it, the feed
    // button found.
    if (!written.waitFor(6)) return "no display frame";
    Sleep(300);
    host.clearReceived();
    return "";
}

void LinkRig::stop() {
    if (!started_) return;
    started_ = false;
    pendant::stopPolling();
    pendant::closeRefreshEvent();
    app::freeBridge();
    pendant::installHid(nullptr);
    app::ProcessState& state = app::state();
    state.hostFound = 0;
    state.hostThreadId = 0;
    state.hostWindow = nullptr;
    state.attachedThreadId = 0;
    state.linkUp = 0;
    state.lastWheelDelta = 0;
    state.lastKeyWord = 0;
}

bool LinkRig::waitFor(const std::function<bool(const Received&)>& matches, size_t count, DWORD timeoutMs,
                      Received* found) const {
    for (DWORD waited = 0;; waited += 10) {
        size_t seen = 0;
        for (const Received& r : host.received()) {
            if (!matches(r) || ++seen < count) continue;
            if (found) *found = r;
            return true;
        }
        if (waited >= timeoutMs) return false;
        Sleep(10);
    }
}

std::function<bool(const Received&)> LinkRig::toButton(int index, UINT message) const {
    HWND button = ncstudio.jogButtons[index];
    return [button, message](const Received& r) { return r.window == button && r.message == message; };
}

std::string LinkRig::unplugAndReplug(DWORD& longestStepMs) {
    pendant.dropReceiver();
    for (int wait = 0; wait < 100 && app::state().linkUp; ++wait) Sleep(20);
    if (app::state().linkUp) return "the link stayed up";
    for (int attempt = 0; attempt < 50 && !app::state().linkUp; ++attempt) {
        const DWORD began = GetTickCount();
        pendant::device().reconnectStep(nullptr);
        longestStepMs = std::max(longestStepMs, GetTickCount() - began);
        if (!app::state().linkUp) Sleep(100);
    }
    if (!app::state().linkUp) return "the receiver did not open again";
    if (!pendant.waitForReceiver(2000)) return "the pendant saw no receiver";
    return "";
}

}  // namespace pendant_testing
