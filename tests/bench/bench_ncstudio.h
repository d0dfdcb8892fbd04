#pragma once
// The stand-in NcStudio the link benchmark polls and drives: the stand-in
// NcStudio program's windows and behaviour, generation 2, the step "0.5mm"
// selected, on a host thread, its log dropped.
#include <windows.h>

#include <memory>

#include "standin/ncstudio/action_log.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/machine.h"
#include "standin/ncstudio/ncstudio_behaviour.h"
#include "standin/ncstudio/ncstudio_builder.h"
#include "standin/ncstudio/ncstudio_windows.h"

namespace bench {

constexpr int kBenchStepIndex = 4;  // "0.5mm"

class BenchNcStudio {
public:
    explicit BenchNcStudio(standin::HostThread& host)
        : host_(host), builder_(host), machine_({{-1234567, 0, 0}, {0, 0, 0}}) {
        log_.open("NUL");
        machine_.selectStep(kBenchStepIndex);
        windows_ = standin::buildNcStudioWindows(builder_, 2, machine_, 2000, 24000);
        behaviour_ = std::make_unique<standin::NcStudioBehaviour>(builder_, windows_, machine_, log_, false, [] {});
        host.setReaction([this](const standin::Received& r) { return behaviour_->react(r); });
    }
    ~BenchNcStudio() { host_.setReaction({}); }
    BenchNcStudio(const BenchNcStudio&) = delete;
    BenchNcStudio& operator=(const BenchNcStudio&) = delete;

    HWND main() const { return windows_.main; }

private:
    standin::HostThread& host_;
    standin::NcStudioBuilder builder_;
    standin::ActionLog log_;
    standin::Machine machine_;
    standin::NcStudioWindows windows_;
    std::unique_ptr<standin::NcStudioBehaviour> behaviour_;
};

}  // namespace bench
