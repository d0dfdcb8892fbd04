#pragma once
// wheelpad's pendant link end to end in one process: the stand-in pendant on
// a pipe of its own, the virtual receiver, the reader and polling threads,
// the real ncbridge.dll bound to a stand-in NcStudio (generation 2) whose
// windows record what reaches them. Real time throughout. Used by the link's
// fault tests and by the soak program run by hand.
#include <windows.h>

#include <functional>
#include <string>

#include "pendant/virtual_receiver.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "standin/ncstudio/ncstudio_windows.h"
#include "standin/pendant/pendant_server.h"
#include "tests/pendant/pendant_pipe_fixture.h"

namespace pendant_testing {

using standin::Received;
using standin::Report;

// The handles and threads of this process.
struct ProcessCounts {
    DWORD handles = 0;
    DWORD threads = 0;
};
ProcessCounts processCounts();
// The counts once threads and handles still going away have gone (up to
// 3 s), compared with `expected`.
ProcessCounts settledCounts(const ProcessCounts& expected);

class LinkRig {
public:
    LinkRig();
    ~LinkRig();
    LinkRig(const LinkRig&) = delete;
    LinkRig& operator=(const LinkRig&) = delete;

    // Opens the receiver, binds ncbridge to NcStudio, starts the polling
    // thread and waits for its first polls; an empty text, or what failed.
    std::string start();
    // Stops the polling thread and the receiver and frees the library.
    void stop();

    bool send(const Report& report) { return pendant.sendInputReport(report); }

    // Waits up to `timeoutMs` for the `count`th message that `matches`.
    bool waitFor(const std::function<bool(const Received&)>& matches, size_t count, DWORD timeoutMs,
                 Received* found = nullptr) const;
    // Matches a message to NcStudio's jog button `index` (kXPlus and so on).
    std::function<bool(const Received&)> toButton(int index, UINT message) const;

    // The receiver unplugged, the link seen down, then reconnected as the main
    // window's timer does (reconnectStep every 100 ms, up to 5 s): an empty text, or
    // what went wrong. `longestStepMs` keeps the longest reconnectStep.
    std::string unplugAndReplug(DWORD& longestStepMs);

    standin::HostThread host;
    standin::NcStudioBuilder builder{host};
    // Generation 2, idle, the 0.05 mm step checked; windows only: what the
    // driver posts is recorded, not acted on.
    standin::NcStudioWindows ncstudio;
    const std::string pipeName;
    testing_support::FeatureReportRecord written;
    standin::PendantServer pendant;
    pendant::VirtualReceiver receiver;

private:
    bool started_ = false;
};

// NcStudio's jog buttons as NcStudioWindows keeps them.
enum { kXPlus = 1 };

// An input report: keys, the axis knob on X, the rate knob on no position
// (the Feedrate dialog stays shut), no wheel count.
inline Report keyReport(BYTE key) { return Report{4, 0, key, 0, 0, 17, 0, 0}; }

}  // namespace pendant_testing
