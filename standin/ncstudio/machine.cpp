#include "standin/ncstudio/machine.h"

#include <cstdio>
#include <cstdlib>

namespace standin {

std::string millimetres(long microns) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%ld.%03ld", microns < 0 ? "-" : "", std::labs(microns) / 1000,
                  std::labs(microns) % 1000);
    return text;
}

Machine::Machine(const Position& start) {
    for (int axis = 0; axis < kAxisCount; ++axis) {
        machine_[axis] = start.machine[axis];
        offset_[axis] = start.machine[axis] - start.work[axis];
    }
}

bool Machine::selectStep(int index) {
    if (index < 0 || index >= kStepCount || jogging()) return false;
    stepIndex_ = index;
    return true;
}

bool Machine::stepJog(int axis, int direction) {
    if (stepIndex_ == 0) return false;
    return moveBy(axis, direction * kStepMicrons[stepIndex_]);
}

bool Machine::moveBy(int axis, long microns) {
    if (!manualAllowed() || jogging()) return false;
    machine_[axis] += microns;
    return true;
}

bool Machine::startJog(int axis, int direction, DWORD now) {
    if (stepIndex_ != 0 || !manualAllowed() || jogging()) return false;
    jogAxis_ = axis;
    jogDirection_ = direction;
    jogStart_ = machine_[axis];
    jogStartTick_ = now;
    return true;
}

void Machine::update(DWORD now) {
    if (!jogging()) return;
    const long elapsed = static_cast<long>(now - jogStartTick_);
    machine_[jogAxis_] = jogStart_ + jogDirection_ * (elapsed * kJogMicronsPerSecond / 1000);
}

bool Machine::stopJog(DWORD now) {
    if (!jogging()) return false;
    update(now);
    jogAxis_ = -1;
    return true;
}

bool Machine::home(int axis) {
    if (!manualAllowed() || jogging()) return false;
    machine_[axis] = 0;
    return true;
}

bool Machine::start() {
    if (runState_ == RunState::Running || runState_ == RunState::EmergencyStop || jogging()) return false;
    runState_ = RunState::Running;
    return true;
}

bool Machine::pause() {
    if (runState_ != RunState::Running) return false;
    runState_ = RunState::Pausing;
    return true;
}

void Machine::emergencyStop(DWORD now) {
    stopJog(now);
    runState_ = RunState::EmergencyStop;
}

bool Machine::stop() {
    if (runState_ == RunState::Idle) return false;
    runState_ = RunState::Idle;
    return true;
}

}  // namespace standin
