// GetAxisLocation: the LocationText the pendant shows, read from NcStudio's
// coordinate panel: the selected axis's label and coordinate (work or
// machine), then the feed and spindle fields, each ended by ":".
//
// The panel's children, in NcStudio's order: the three coordinate buttons,
// the "Slider1" trackbar, a button (B), the machine-coordinate statics (in
// generation 2 after the label "M. Coor."), the ON/OFF button, the override
// percent and speed statics and, in generation 2, the "Current Command Set:"
// label with the button that opens the feed dialog.
#include <cstdlib>
#include <cstring>
#include <string>

#include "bridge/bridge_mutex.h"
#include "bridge/exports.h"
#include "bridge/host_windows.h"
#include "bridge/kept_walk.h"
#include "bridge/machine_coord_text.h"
#include "bridge/shared_block.h"

namespace bridge {

char machineCoordText[kMachineAxes][kWindowTextSize];

namespace {

constexpr int kCoordinateSearches = 3;
constexpr int kMachineTextsGeneration1 = 20;
constexpr int kMachineTextsGeneration2 = 5;
constexpr int kOnOffButtons = 10;
constexpr int kOverrideTexts = 30;
constexpr int kPercentTexts = 2;
constexpr int kIntegerTexts = 3;
constexpr const char* kEmptyCoordinate = "0.0";
constexpr const char* kNoValue = "0:";

KeptWalk locationWalk;

bool isGeneration2() { return block().hostGeneration == 2; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// 1, 2, 3 for the axis knob on X, Y, Z; 0 for anything else.
int selectedAxis() {
    BYTE code = block().axisKnobCode;
    return code >= kAxisX && code <= kAxisZ ? code - kAxisX + 1 : 0;
}

const char* axisLabel(int axis) {
    static const char* const labels[] = {"", "X:", "Y:", "Z:"};
    return labels[axis];
}

// The text that replaces the label and value while an override or lead mode
// is selected; nullptr for the axes.
const char* overrideLabel() {
    switch (block().axisKnobCode) {
        case kSpindleOverride: return "Spin Adjust: :";
        case kFeedOverride: return "Feed Adjust: :";
        case kLeadMode: return "Lead: :";
        default: return nullptr;
    }
}

// Three searches for the coordinate buttons, each after the previous find (a
// search that found nothing lets the next start again from the first child).
// Appends the selected axis's work coordinate unless machine coordinates are
// shown. Returns the third search's button.
HWND readWorkCoordinate(HWND panel, int axis, std::string& location) {
    bool showWork = !block().showMachineCoords;
    HWND button = nullptr;
    for (int search = 1; search <= kCoordinateSearches; ++search) {
        button = locationWalk.nextChildOfClass(panel, button, "Button");
        if (showWork && search == axis && button) {
            const char* text = locationWalk.readText(button);
            location += *text ? text : kEmptyCoordinate;
        }
    }
    if (showWork) location += ":";
    return button;
}

// The "Slider1" trackbar after `after` (from the first child when nullptr).
HWND findSlider(HWND panel, HWND after) {
    for (HWND slider = locationWalk.nextChildOfClass(panel, after, "msctls_trackbar32"); slider;
         slider = locationWalk.nextChildOfClass(panel, slider, "msctls_trackbar32"))
        if (std::strcmp(locationWalk.readText(slider), "Slider1") == 0) return slider;
    return nullptr;
}

bool hasDigitAfterDot(const char* text) {
    const char* dot = std::strchr(text, '.');
    return dot && isDigit(dot[1]);
}

// The machine-coordinate statics: the dotted texts, in order X, Y, Z, keep
// machineCoordText up to date (generation 1 only the selected axis's), and
// the selected axis's is appended to `location`, if given, when machine
// coordinates are shown.
void readMachineCoordinates(KeptWalk& walk, HWND panel, HWND slider, int axis, std::string* location) {
    bool generation2 = isGeneration2();
    HWND label = generation2 ? walk.firstChildWithText(panel, "M. Coor.") : slider;
    int limit = generation2 ? kMachineTextsGeneration2 : kMachineTextsGeneration1;
    int dotted = 0;
    for (int examined = 0; examined < limit && dotted < kMachineAxes; ++examined) {
        label = walk.nextChildOfClass(panel, label, "Static");
        if (!label) return;
        const char* text = walk.readText(label);
        if (!std::strchr(text, '.')) continue;
        ++dotted;
        if ((generation2 || dotted == axis) && hasDigitAfterDot(text))
            std::memcpy(machineCoordText[dotted - 1], textBuffer(), kWindowTextSize);
        if (location && dotted == axis && block().showMachineCoords) *location += std::string(text) + ":";
    }
}

// The ON/OFF button among the ten buttons after B: "ON" is tested before "OFF".
void readOnOff(HWND panel, HWND buttonB) {
    HWND button = buttonB;
    for (int examined = 0; examined < kOnOffButtons; ++examined) {
        button = locationWalk.nextChildOfClass(panel, button, "Button");
        if (!button) return;
        const char* text = locationWalk.readText(button);
        if (!*text) continue;
        if (contains(text, "ON")) {
            block().onOffShown = 1;
            return;
        }
        if (contains(text, "OFF")) {
            block().onOffShown = 0;
            return;
        }
    }
}

// The button after the "Current Command Set:" label (generation 2).
void findFeedButton(HWND panel) {
    HWND label = locationWalk.firstChildWithText(panel, "Current Command Set:");
    if (!label) return;
    if (HWND button = locationWalk.nextChildOfClass(panel, label, "Button")) block().feedButton = button;
}

// Integer text number `n` is the feed or the spindle speed. Generation 2
// shows spindle, feed, spindle. Generation 1 learns the feed's position
// while idle (the feed then reads 0) and goes by it while running.
void storeIntegerText(const std::string& text, int n) {
    SharedBlock& b = block();
    std::string field = text + ":";
    if (isGeneration2()) {
        (n == 1 ? b.feedText : b.spindleText) = field;
    } else if ((b.machineState & 3) == 1) {
        (n == b.feedFieldIndex ? b.feedText : b.spindleText) = field;
    } else if (std::atoi(text.c_str()) != 0) {
        b.spindleText = field;
    } else {
        b.feedText = field;
        b.feedFieldIndex = n;
    }
}

// The override percent and speed statics after B. Returns the feed-override
// percent field: the first percent text in generation 1, the second in
// generation 2; empty when there is none.
std::string readOverrideTexts(HWND panel, HWND buttonB) {
    int feedPercentAt = isGeneration2() ? 1 : 0;
    std::string feedPercent;
    int percents = 0;
    int integers = 0;
    HWND label = buttonB;
    for (int examined = 0; examined < kOverrideTexts; ++examined) {
        label = locationWalk.nextChildOfClass(panel, label, "Static");
        if (!label) break;
        std::string text = locationWalk.readText(label);
        if (text.empty()) continue;
        if (text.find('%') != std::string::npos) {
            if (percents == feedPercentAt) feedPercent = text + ":";
            if (++percents == kPercentTexts) break;
        } else if (text.find('.') == std::string::npos && isDigit(text[0])) {
            storeIntegerText(text, integers);
            if (++integers == kIntegerTexts) break;
        }
    }
    return feedPercent;
}

void readCoordinatePanel(HWND panel, int axis, std::string& location) {
    SharedBlock& b = block();
    HWND slider = findSlider(panel, readWorkCoordinate(panel, axis, location));
    readMachineCoordinates(locationWalk, panel, slider, axis, &location);
    if (const char* label = overrideLabel()) location = label;

    HWND buttonB = locationWalk.nextChildOfClass(panel, slider, "Button");
    readOnOff(panel, buttonB);
    b.feedText = kNoValue;
    b.spindleText = kNoValue;
    if (isGeneration2()) findFeedButton(panel);
    std::string feedPercent = buttonB ? readOverrideTexts(panel, buttonB) : std::string();

    bool percentShown = b.axisKnobCode == kFeedOverride || b.axisKnobCode == kLeadMode;
    location += percentShown && !feedPercent.empty() ? feedPercent : b.feedText;
    location += b.spindleText;
}

}  // namespace

bool readMachineCoordinateNow(int axisIndex) {
    machineCoordText[axisIndex][0] = '\0';
    // A walk of its own: the status poll's kept walk stays as it is.
    KeptWalk walk;
    walk.run([&] {
        if (HWND panel = coordinatePanel(&walk)) readMachineCoordinates(walk, panel, nullptr, 0, nullptr);
    });
    return machineCoordText[axisIndex][0] != '\0';
}

}  // namespace bridge

using namespace bridge;

int WINAPI GetAxisLocation(char* buffer) {
    MutexHold hold;
    if (hold.timedOut()) return 0;

    int axis = selectedAxis();
    std::string location;
    locationWalk.run([&] {
        location = axisLabel(axis);
        if (HWND panel = coordinatePanel(&locationWalk)) readCoordinatePanel(panel, axis, location);
    });

    if (location.empty() || !buffer) return 0;
    std::memcpy(buffer, location.c_str(), location.size() + 1);
    return 1;
}
