#include "standin/virtual_pendant/report_repeater.h"

#include <algorithm>
#include <chrono>

namespace virtual_pendant {

using standin::PendantCommand;

namespace {
constexpr DWORD kConnectionCheckMs = 50;
}  // namespace

ReportRepeater::ReportRepeater(standin::ReceiverTransport& receiver, DWORD periodMs, Observer observer)
    : receiver_(receiver), periodMs_(periodMs), observer_(std::move(observer)) {
    current_ = controls_.apply(PendantCommand{PendantCommand::Kind::Release});
}

ReportRepeater::~ReportRepeater() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ReportRepeater::start() { thread_ = std::thread([this] { run(); }); }

void ReportRepeater::holdKeys(BYTE first, BYTE second) {
    queue(PendantCommand{PendantCommand::Kind::Key, first, second});
}

void ReportRepeater::turnAxisKnob(BYTE code) { queue(PendantCommand{PendantCommand::Kind::Axis, code}); }

void ReportRepeater::turnRateKnob(BYTE code) { queue(PendantCommand{PendantCommand::Kind::Rate, code}); }

void ReportRepeater::turnWheel(int counts) {
    while (counts != 0) {
        const int part = std::max(-128, std::min(127, counts));
        queue(PendantCommand{PendantCommand::Kind::Wheel, part});
        counts -= part;
    }
}

void ReportRepeater::queue(const PendantCommand& command) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        const standin::Report report = controls_.apply(command);
        pending_.push_back(report);
        if (command.kind != PendantCommand::Kind::Wheel) current_ = report;
        keyHeld_ = current_[2] != 0 || current_[3] != 0;
    }
    changed_.notify_all();
}

void ReportRepeater::run() {
    std::unique_lock<std::mutex> hold(lock_);
    while (!stopping_) {
        // Awake for the next repeat of a held key; otherwise often enough to
        // notice a receiver coming or going.
        DWORD waitMs = kConnectionCheckMs;
        if (connected_ && keyHeld_) {
            const DWORD since = GetTickCount() - lastSentAt_;
            waitMs = since >= periodMs_ ? 0 : periodMs_ - since;
        }
        if (pending_.empty() && waitMs > 0) changed_.wait_for(hold, std::chrono::milliseconds(waitMs));
        if (stopping_) break;

        hold.unlock();
        const bool connected = receiver_.waitForReceiver(0);
        hold.lock();
        if (connected != connected_) {
            connected_ = connected;
            // A receiver that comes learns the keys and knobs as they stand;
            // what happened while none was there is gone, as over the radio.
            pending_.clear();
            if (connected) pending_.push_back(current_);
            if (observer_.onConnection) {
                hold.unlock();
                observer_.onConnection(connected);
                hold.lock();
            }
        }
        if (!connected_) {
            pending_.clear();
            continue;
        }
        std::deque<standin::Report> reports;
        reports.swap(pending_);
        if (reports.empty() && keyHeld_ && GetTickCount() - lastSentAt_ >= periodMs_) reports.push_back(current_);
        hold.unlock();
        for (const standin::Report& report : reports) send(report);
        hold.lock();
    }
}

void ReportRepeater::send(const standin::Report& report) {
    if (!receiver_.sendInputReport(report)) return;  // the receiver went: told on the next pass
    lastSentAt_ = GetTickCount();
    const bool changed = report != lastSent_ || report[6] != 0;
    lastSent_ = report;
    if (changed && observer_.onReportSent) observer_.onReportSent(report);
}

}  // namespace virtual_pendant
