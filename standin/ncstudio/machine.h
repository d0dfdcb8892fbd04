#pragma once
// The machine behind the stand-in NcStudio: three axes with work and machine
// coordinates, the jog step, jogging in steps and continuously at a steady
// speed, going back to the reference point, and the run state of a program.
// Positions are whole micrometres, so steps add up exactly.
#include <windows.h>

#include <string>

namespace standin {

enum class RunState { Idle = 0, Running = 1, Pausing = 2, EmergencyStop = 3 };

constexpr int kAxisCount = 3;  // X, Y, Z

// Step sizes by step index: 0 is continuous jogging, 1 to 7 are 0.01 mm to 10 mm.
constexpr int kStepCount = 8;
constexpr long kStepMicrons[kStepCount] = {0, 10, 50, 100, 500, 1000, 5000, 10000};

// Speed of a continuous jog: 1200 mm/min.
constexpr long kJogMicronsPerSecond = 20000;

// "12.500", "-3.250": a position in millimetres with three decimals.
std::string millimetres(long microns);

class Machine {
public:
    struct Position {
        long work[kAxisCount];
        long machine[kAxisCount];
    };

    explicit Machine(const Position& start);

    long work(int axis) const { return machine_[axis] - offset_[axis]; }
    // The work coordinate system moves so that the axis's current work
    // coordinate becomes `microns` (a confirmed work-coordinate dialog).
    void setWork(int axis, long microns) { offset_[axis] = machine_[axis] - microns; }
    long machine(int axis) const { return machine_[axis]; }

    int stepIndex() const { return stepIndex_; }
    bool selectStep(int index);

    RunState runState() const { return runState_; }
    // Manual jogging and homing are possible while the machine is idle.
    bool manualAllowed() const { return runState_ == RunState::Idle; }

    // One step of the selected size; false in continuous mode or while a
    // program runs.
    bool stepJog(int axis, int direction);
    // Moves by a given distance (the jog-adjust window's steps); false while
    // a program runs.
    bool moveBy(int axis, long microns);

    // Continuous jogging while a direction button is held down; false when
    // not in continuous mode, while a program runs or while another jog runs.
    bool startJog(int axis, int direction, DWORD now);
    // Ends a continuous jog at `now`; false when none runs.
    bool stopJog(DWORD now);
    // Brings a running continuous jog up to `now`.
    void update(DWORD now);
    bool jogging() const { return jogAxis_ >= 0; }
    int jogAxis() const { return jogAxis_; }

    // The axis goes back to its reference point: machine coordinate 0.
    bool home(int axis);

    // Start (F9) from idle or pause, pause while running, stop from any
    // state (it also clears an emergency stop). False when the state does
    // not change.
    bool start();
    bool pause();
    bool stop();
    // The emergency stop button: a running jog or program ends at once.
    void emergencyStop(DWORD now);

private:
    long machine_[kAxisCount];
    long offset_[kAxisCount];  // machine minus work coordinate
    int stepIndex_ = 0;
    RunState runState_ = RunState::Idle;
    int jogAxis_ = -1;
    int jogDirection_ = 0;
    long jogStart_ = 0;     // machine position of the jogging axis when the jog began
    DWORD jogStartTick_ = 0;
};

}  // namespace standin
