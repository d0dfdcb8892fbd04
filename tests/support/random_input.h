#pragma once
// Random pendant input for the soak runs, and what NcStudio was left holding.
#include <windows.h>

#include <initializer_list>
#include <random>
#include <vector>

#include "standin/ncstudio/host_thread.h"

namespace testing_support {

// Mostly one of the codes the pendant sends, sometimes any byte.
BYTE pickCode(std::mt19937& random, std::initializer_list<BYTE> usual);

// Keys, knob codes and a wheel count of one random report, also codes no
// pendant sends: key1, key2, rate knob, axis knob, wheel count (0 to 255).
struct RandomReport {
    BYTE key1, key2, rateKnob, axisKnob, wheel;
};
RandomReport randomReport(std::mt19937& random);

// The buttons whose last WM_LBUTTONDOWN was not followed by a WM_LBUTTONUP.
std::vector<HWND> heldButtons(const std::vector<standin::Received>& received);

}  // namespace testing_support
