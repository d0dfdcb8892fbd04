#include "tests/support/random_input.h"

#include <map>

namespace testing_support {

BYTE pickCode(std::mt19937& random, std::initializer_list<BYTE> usual) {
    std::uniform_int_distribution<int> any(0, 255);
    if (any(random) < 32) return static_cast<BYTE>(any(random));
    std::uniform_int_distribution<size_t> which(0, usual.size() - 1);
    return *(usual.begin() + which(random));
}

RandomReport randomReport(std::mt19937& random) {
    std::uniform_int_distribution<int> any(0, 255);
    RandomReport report;
    report.key1 = pickCode(random, {0, 0, 0, 1, 2, 3, 4, 5, 8, 8, 9, 10, 11, 12, 12, 13, 14, 15, 16, 25});
    report.key2 = any(random) < 16 ? pickCode(random, {4, 14, 15, 16}) : 0;
    report.rateKnob = pickCode(random, {13, 14, 15, 16, 26, 27, 155});
    report.axisKnob = pickCode(random, {17, 17, 18, 19, 20, 21, 22});
    report.wheel = static_cast<BYTE>(any(random) < 128 ? 0 : any(random));
    return report;
}

std::vector<HWND> heldButtons(const std::vector<standin::Received>& received) {
    std::map<HWND, bool> down;
    for (const standin::Received& r : received) {
        if (r.message == WM_LBUTTONDOWN) down[r.window] = true;
        if (r.message == WM_LBUTTONUP) down[r.window] = false;
    }
    std::vector<HWND> held;
    for (const auto& button : down)
        if (button.second) held.push_back(button.first);
    return held;
}

}  // namespace testing_support
