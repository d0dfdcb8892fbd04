#pragma once
// The virtual pendant's radio: turns what the window's keys, knobs and wheel
// do into input reports for the receiver, as the receiver sends them. A
// change goes out at once; while a key is held its report is sent again
// every period; letting go of the last key sends one report without a key;
// a turn of the wheel is one report carrying its count (later ones carry 0).
// When a receiver connects it gets the keys and knobs as they stand.
// Everything is sent from a thread of its own, in the order it happened.
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "standin/pendant/pendant_commands.h"
#include "standin/pendant/receiver_transport.h"

namespace virtual_pendant {

class ReportRepeater {
public:
    // Told, on the repeater's thread, when the receiver comes or goes and
    // when a report with new bytes was sent (repeats are not told).
    struct Observer {
        std::function<void(bool connected)> onConnection;
        std::function<void(const standin::Report& report)> onReportSent;
    };

    ReportRepeater(standin::ReceiverTransport& receiver, DWORD periodMs, Observer observer);
    ~ReportRepeater();
    ReportRepeater(const ReportRepeater&) = delete;
    ReportRepeater& operator=(const ReportRepeater&) = delete;

    void start();

    // The keys held now: first and second (0 for none).
    void holdKeys(BYTE first, BYTE second);
    void turnAxisKnob(BYTE code);
    void turnRateKnob(BYTE code);
    // Counts beyond what one report carries (-128 to 127) go in several.
    void turnWheel(int counts);

private:
    void queue(const standin::PendantCommand& command);
    void run();
    void send(const standin::Report& report);

    standin::ReceiverTransport& receiver_;
    const DWORD periodMs_;
    const Observer observer_;

    std::mutex lock_;
    std::condition_variable changed_;
    standin::PendantControls controls_;
    std::deque<standin::Report> pending_;
    standin::Report current_{};  // the keys and knobs as they stand, no wheel count
    bool keyHeld_ = false;
    bool stopping_ = false;

    std::thread thread_;
    // Touched by the repeater's thread only.
    bool connected_ = false;
    standin::Report lastSent_{};
    DWORD lastSentAt_ = 0;
};

}  // namespace virtual_pendant
