#include "pendant/polling_thread.h"

#include <chrono>
#include <cstring>
#include <mutex>
#include <string>

#include "app/bridge_binding.h"
#include "app/process_state.h"
#include "pendant/display_frame.h"
#include "pendant/key_dispatch.h"
#include "pendant/pendant_device.h"
#include "platform/clock.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr DWORD kIdleSleepMs = 100;
constexpr DWORD kTickMs = 80;
// How long a stop waits for the thread before ending it by force: about the
// 201 waits of 10 ms the thread has always been given.
constexpr DWORD kStopBoundMs = 2010;
constexpr std::size_t kLocationBufferSize = 1024;
// How long a stop waits for a frame being sent, and for the release of a
// held key to reach ncbridge.
constexpr DWORD kSendBoundMs = 2000;
constexpr DWORD kReleaseBoundMs = 1000;

class BridgeStatusSource : public StatusSource {
public:
    void loadBridge() override { app::ensureBridgeLoaded(); }
    bool getMaState(HWND mainWindow, int& result) override {
        return app::callGetMaState(mainWindow, result);
    }
    bool getMaStep(int& result) override { return app::callGetMaStep(result); }
    bool getAxisLocation(char* buffer1024, int& result) override {
        return app::callGetAxisLocation(buffer1024, result);
    }
};

BridgeStatusSource bridgeSource;
StatusSource* source = &bridgeSource;

struct PollingThread {
    HANDLE refreshEvent = nullptr;
    HANDLE handle = nullptr;
    DWORD id = 0;
    volatile int pollStop = 0;
    // Held around a frame build and send, and by a stop around closing the
    // receiver: a send after the close would open the receiver again.
    std::timed_mutex sendLock;
    // Used by the polling thread only.
    platform::LogChange activityLog;
    platform::LogChange stateLog;
    platform::LogChange stepLog;
    char locationBuffer[kLocationBufferSize] = {};
    std::string locationText;
};

PollingThread polling;

bool linkActive() {
    const app::ProcessState& state = app::state();
    return device().connected && state.linkEnabled && state.hostFound && state.linkUp;
}

// Step, then location, then the frame; without GetAxisLocation no frame.
void pollStatusAndShow() {
    int value = 0;
    if (source->getMaStep(value)) statusWords().stepWord = static_cast<DWORD>(value);
    platform::logEventOnChange(polling.stepLog, "status: step word %08lX", statusWords().stepWord);
    int fresh = 0;
    if (!source->getAxisLocation(polling.locationBuffer, fresh)) return;
    if (fresh) {
        // Bounded by the buffer even if the text came back unterminated.
        polling.locationText.assign(polling.locationBuffer,
                                    strnlen(polling.locationBuffer, kLocationBufferSize));
    }
    std::lock_guard<std::timed_mutex> guard(polling.sendLock);
    if (polling.pollStop) return;
    buildAndSendFrame(polling.locationText);
}

}  // namespace

StatusWords& statusWords() {
    static StatusWords words;
    return words;
}

void installStatusSource(StatusSource* replacement) {
    source = replacement ? replacement : &bridgeSource;
}

bool createRefreshEvent() {
    polling.refreshEvent = ::CreateEventA(nullptr, FALSE, FALSE, "rzlcd");
    return polling.refreshEvent != nullptr;
}

void closeRefreshEvent() {
    if (polling.refreshEvent) ::CloseHandle(polling.refreshEvent);
    polling.refreshEvent = nullptr;
}

bool pollPass() {
    source->loadBridge();
    app::ProcessState& state = app::state();
    if (state.linkUp) {
        int value = 0;
        if (source->getMaState(state.mainWindow, value)) {
            statusWords().stateWord = static_cast<DWORD>(value);
        }
        platform::logEventOnChange(polling.stateLog, "status: state word %08lX", statusWords().stateWord);
    }
    platform::logEventOnChange(polling.activityLog, linkActive() ? "polling: display active" : "polling: idle");
    if (!linkActive()) {
        platform::sleepMs(kIdleSleepMs);
        return true;
    }
    switch (::WaitForSingleObject(polling.refreshEvent, kTickMs)) {
    case WAIT_TIMEOUT:
        pollStatusAndShow();
        return true;
    case WAIT_OBJECT_0:
        return false;
    default:
        return true;  // a failed wait: try again on the next pass
    }
}

DWORD WINAPI pollingThreadProc(LPVOID) {
    platform::nameLogThread("poller");
    while (!polling.pollStop) {
        if (!pollPass()) break;
    }
    return 0;
}

bool startPolling() {
    if (!polling.refreshEvent) return false;
    polling.pollStop = 0;
    polling.id = 0;
    polling.handle =
        ::CreateThread(nullptr, 0, pollingThreadProc, nullptr, CREATE_SUSPENDED, &polling.id);
    if (!polling.handle) return false;
    ::ResumeThread(polling.handle);
    return true;
}

void stopPolling() {
    releaseHeldKeysOnLinkLoss("exit");
    {
        // A send stuck in the receiver does not hold the stop for good.
        std::unique_lock<std::timed_mutex> guard(polling.sendLock, std::defer_lock);
        guard.try_lock_for(std::chrono::milliseconds(kSendBoundMs));
        device().closeDevice();
        polling.pollStop = 1;
    }
    // The release reaches NcStudio before the library may be freed, unless
    // ncbridge stays busy longer than that.
    waitForLinkRelease(kReleaseBoundMs);
    if (polling.refreshEvent) ::SetEvent(polling.refreshEvent);
    if (polling.handle) {
        // The event ends a wait at once and an idle pass ends within 100 ms;
        // only a thread stuck inside an ncbridge call outlasts the bound.
        if (::WaitForSingleObject(polling.handle, kStopBoundMs) == WAIT_TIMEOUT) {
            ::TerminateThread(polling.handle, 0);
        }
        ::CloseHandle(polling.handle);
    }
    polling.handle = nullptr;
    polling.id = 0;
}

void resetPolling() {
    statusWords().stateWord = 0;
    statusWords().stepWord = 0;
    polling.pollStop = 0;
}

}  // namespace pendant
