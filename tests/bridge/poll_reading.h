#pragma once
// One polling pass of the status readers, as the polling thread makes it, and
// everything it returns or leaves in the state block for the display and the
// executor; and the same pass once over the kept walks and once walking
// NcStudio's windows in full, from the same state.
#include <windows.h>

#include <cstring>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>

#include "bridge/exports.h"
#include "bridge/kept_walk.h"
#include "bridge/machine_coord_text.h"
#include "bridge/shared_block.h"

namespace bridge_tests {

struct Reading {
    int stateWord, stepWord, located;
    std::string location, stepText, feedText, spindleText, machine[3];
    int stepIndex, lastStepCode, feedFieldIndex, lastRunState;
    BYTE onOffShown;
    HWND feedButton;

    auto tied() const {
        return std::tie(stateWord, stepWord, located, location, stepText, feedText, spindleText, machine[0],
                        machine[1], machine[2], stepIndex, lastStepCode, feedFieldIndex, lastRunState,
                        onOffShown, feedButton);
    }
    bool operator==(const Reading& other) const { return tied() == other.tied(); }
};

inline std::ostream& operator<<(std::ostream& out, const Reading& r) {
    return out << std::hex << "state 0x" << r.stateWord << " step 0x" << r.stepWord << std::dec << " \""
               << r.location << "\" stepText " << r.stepText << " stepIndex " << r.stepIndex << " onOff "
               << int(r.onOffShown) << " machine " << r.machine[0] << "/" << r.machine[1] << "/" << r.machine[2];
}

inline Reading poll(HWND main) {
    Reading r{};
    r.stateWord = GetMaState(main);
    r.stepWord = GetMaStep();
    char text[1024] = {};
    r.located = GetAxisLocation(text);
    r.location = text;
    const bridge::SharedBlock& b = bridge::block();
    r.stepText = b.stepText;
    r.feedText = b.feedText;
    r.spindleText = b.spindleText;
    for (int axis = 0; axis < 3; ++axis) r.machine[axis] = bridge::machineCoordText[axis];
    r.stepIndex = b.stepIndex;
    r.lastStepCode = b.lastStepCode;
    r.feedFieldIndex = b.feedFieldIndex;
    r.lastRunState = b.lastRunState;
    r.onOffShown = b.onOffShown;
    r.feedButton = b.feedButton;
    return r;
}

// The pass over the kept walks and, from the same state, one that walks
// NcStudio's windows in full (and is kept for the next pass).
inline std::pair<Reading, Reading> pollKeptAndFull(HWND main) {
    const bridge::SharedBlock saved = bridge::block();
    char machine[3][bridge::kWindowTextSize];
    std::memcpy(machine, bridge::machineCoordText, sizeof machine);
    Reading kept = poll(main);
    bridge::block() = saved;
    std::memcpy(bridge::machineCoordText, machine, sizeof machine);
    bridge::forgetKeptWalks();
    return {kept, poll(main)};
}

}  // namespace bridge_tests
