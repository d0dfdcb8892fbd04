// GetMaStep: NcStudio's jog step as the StepWord, read from the checked step
// radio button of the manual page or, while the "Jiggle" window is in front,
// from its step label.
//
// StepWord bits: 0-3 step code, 4-7 host mode, 8-15 hundredths and 16-23
// whole part of the step size.
#include <cstdlib>
#include <string>

#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/kept_walk.h"
#include "bridge/shared_block.h"

namespace bridge {
namespace {

constexpr int kUnknownStepCode = 10;
constexpr int kJiggleMode = 6;
constexpr int kToolSetMode = 2;
constexpr int kFieldMax = 0xFF;

// The manual page's step captions with their step code and step index.
struct ManualStep {
    const char* caption;
    int code;
    int index;
};
constexpr ManualStep kManualSteps[] = {
    {"0.01mm", 1, kStep001}, {"0.05mm", 2, kStep005}, {"0.1 mm", 3, kStep01}, {"0.5 mm", 7, kStep05},
    {"1   mm", 8, kStep1},   {"5   mm", 9, kStep5},   {"10  mm", 10, kStep10}, {"&Jog", 0, kStepContinuous},
};

// The "Jiggle" window's step sizes, tested in this order.
struct JiggleStep {
    const char* size;
    int code;
};
constexpr JiggleStep kJiggleSteps[] = {
    {"0.01mm", 1}, {"0.05mm", 2}, {"0.10mm", 3}, {"0.20mm", 4}, {"0.30mm", 5},
    {"0.40mm", 6}, {"0.50mm", 7}, {"1.00mm", 8}, {"5.00mm", 9}, {"10.00mm", 10},
};

// The index of the first ASCII digit of `text`, -1 when there is none.
int firstDigitIndex(const char* text, int length) {
    for (int i = 0; i < length; ++i)
        if (text[i] >= '0' && text[i] <= '9') return i;
    return -1;
}

// The part of `text` before its first "mm"; the whole text when it has none.
std::string beforeMillimetres(const std::string& text) { return text.substr(0, text.find("mm")); }

KeptWalk stepWalk;
KeptWalk jiggleWalk;

// Only these button types have a check state; any other answers BM_GETCHECK
// with 0, so it is not asked.
bool canBeChecked(LONG style) {
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_3STATE: case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

bool answersChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The caption of the manual page's first checked button with a caption, in
// child order (two may show checked at once); empty when there is none.
std::string checkedStepCaption() {
    std::string caption;
    stepWalk.run([&] {
        HWND page = manualPage(&stepWalk);
        for (HWND button = stepWalk.nextChildOfClass(page, nullptr, "Button"); button;
             button = stepWalk.nextChildOfClass(page, button, "Button")) {
            if (!canBeChecked(stepWalk.style(button))) continue;
            const char* text = stepWalk.readText(button);
            if (!*text) continue;
            if (answersChecked(button)) {
                caption = text;
                return;
            }
        }
    });
    return caption;
}

// The step code of the manual page; updates stepText and stepIndex from the
// checked button and re-caches the jog buttons when the code changed.
int readManualPage() {
    SharedBlock& b = block();
    int code = kUnknownStepCode;
    std::string caption = checkedStepCaption();
    if (!caption.empty()) {
        b.stepText = caption.find("mm") == std::string::npos ? "0.0" : beforeMillimetres(caption);
        for (const ManualStep& step : kManualSteps) {
            if (caption != step.caption) continue;
            code = step.code;
            b.stepIndex = step.index;
            break;
        }
    }
    if (code != b.lastStepCode) {
        b.lastStepCode = code;
        if (!b.jogButtonsReady) postCtrlChord('2');
        b.jogButtonsReady = 1;
    }
    return code;
}

// What the "Jiggle" window's statics show: whether one holds a digit, and
// the text from its first digit on of the first that also holds "mm".
struct JiggleReading {
    bool digitSeen = false;
    std::string size;
};

JiggleReading readJiggleLabels(HWND jiggle) {
    JiggleReading reading;
    jiggleWalk.run([&] {
        for (HWND label = jiggleWalk.nextChildOfClass(jiggle, nullptr, "Static"); label;
             label = jiggleWalk.nextChildOfClass(jiggle, label, "Static")) {
            std::string text = jiggleWalk.readText(label);
            int digit = firstDigitIndex(text.c_str(), static_cast<int>(text.size()));
            if (digit < 0) continue;
            reading.digitSeen = true;
            if (text.find("mm", digit) == std::string::npos) continue;
            reading.size = text.substr(digit);
            return;
        }
    });
    return reading;
}

// The step code of the "Jiggle" window's step label: the first static whose
// text, from its first digit on, holds a size in "mm".
int readJiggleWindow() {
    SharedBlock& b = block();
    if (!b.jiggleWindow) return kUnknownStepCode;
    JiggleReading reading = readJiggleLabels(b.jiggleWindow);
    if (reading.size.empty()) {
        if (reading.digitSeen) b.stepText = "0.0";
        return kUnknownStepCode;
    }
    b.stepText = beforeMillimetres(reading.size);
    int code = kUnknownStepCode;
    for (const JiggleStep& step : kJiggleSteps) {
        if (reading.size.find(step.size) == std::string::npos) continue;
        code = step.code;
        break;
    }
    // Whole millimetres are shown without their decimals.
    if (code >= 8) {
        size_t dot = b.stepText.find('.');
        b.stepText = dot == std::string::npos ? std::string() : b.stepText.substr(0, dot);
    }
    return code;
}

// A number read from the step size, kept within its 8-bit field.
int fieldValue(const std::string& digits) {
    int value = std::atoi(digits.c_str());
    return value < 0 ? 0 : value > kFieldMax ? kFieldMax : value;
}

// Bits 8-23 of the StepWord from stepText, which is trimmed of trailing
// spaces on the way.
int stepSizeBits() {
    std::string& text = block().stepText;
    text.erase(text.find_last_not_of(' ') + 1);
    size_t dot = text.find('.');
    int whole = fieldValue(text.substr(0, dot));
    int hundredths = 0;
    if (dot != std::string::npos) {
        std::string fraction = text.substr(dot + 1, 2);
        if (fraction.size() < 2) fraction += "0";
        hundredths = fieldValue(fraction);
    }
    return ((whole << 8) + hundredths) << 8;
}

}  // namespace
}  // namespace bridge

using namespace bridge;

int WINAPI GetMaStep() {
    MutexHold hold;
    SharedBlock& b = block();
    if (hold.timedOut()) return b.lastStepCode;

    int code = b.hostMode == kJiggleMode ? readJiggleWindow() : readManualPage();
    if (b.toolSetActive) {
        b.hostMode = kToolSetMode;
        b.reportedPcState = kToolSetMode;
    }
    int word = code + ((b.hostMode & 0xF) << 4);
    if (b.axisKnobCode != kSpindleOverride && b.axisKnobCode != kFeedOverride) word += stepSizeBits();
    return word;
}
