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

std::string freshPipeName() {
    static int count = 0;
    return "\\\\.\\pipe\\wheelpad-rig-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
}

}  // namespace

ProcessCounts processCounts() {
    ProcessCounts counts;
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++counts.threads;
    CloseHandle(snapshot);
    return counts;
}

LinkRig::LinkRig()
    : pipeName(freshPipeName()),
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
    if (!standin::bindNcStudio(ncstudio.main, host.threadId())) return "ncbridge.dll did not bind";
    state.hostWindow = ncstudio.main;
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

std::function<bool(const Received&)> LinkRig::toButton(const char* caption, UINT message) const {
    HWND button = ncstudio.jogButton(caption);
    return [button, message](const Received& r) { return r.window == button && r.message == message; };
}

bool LinkRig::unplugAndReplug(DWORD& longestStepMs) {
    pendant.dropReceiver();
    for (int wait = 0; wait < 100 && app::state().linkUp; ++wait) Sleep(20);
    if (app::state().linkUp) return false;
    for (int attempt = 0; attempt < 20 && !app::state().linkUp; ++attempt) {
        const DWORD began = GetTickCount();
        pendant::device().reconnectStep(nullptr);
        longestStepMs = std::max(longestStepMs, GetTickCount() - began);
        if (!app::state().linkUp) Sleep(100);
    }
    return app::state().linkUp && pendant.waitForReceiver(2000);
}

}  // namespace pendant_testing
