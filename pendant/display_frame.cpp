#include "pendant/display_frame.h"

#include <cstdio>
#include <cstring>

#include "app/process_state.h"
#include "pendant/key_dispatch.h"
#include "pendant/location_lines.h"
#include "pendant/pendant_device.h"
#include "pendant/polling_thread.h"
#include "platform/support_log.h"

namespace pendant {
namespace {

constexpr int kLine1Width = 11;
constexpr int kOtherLineWidth = 16;
// An unchanged frame goes out on this build after the last send.
constexpr int kHeldBackLimit = 6;

constexpr DWORD kScreenPrompt = 0x10;
constexpr DWORD kScreenHoming = 5;
constexpr DWORD kScreenProbe = 2;
constexpr DWORD kScreenJogAdjust = 6;
constexpr DWORD kMachineHoming = 1;

DWORD screenOf(DWORD stateWord) { return (stateWord >> 8) & 0xFF; }

// The screens that show the step and the location: jog adjust and normal.
bool showsLocation(DWORD screen) {
    return screen != kScreenPrompt && screen != kScreenHoming && screen != kScreenProbe;
}

void appendFixedScreen(DisplayFrame& frame, const char* line1, const char* line2,
                       const char* line3) {
    appendLine(frame, line1, 1);
    appendLine(frame, line2, 2);
    appendLine(frame, line3, 3);
    appendLine(frame, "", 4);
}

// What has gone out last, and how often an unchanged frame was held back.
struct DisplayMemory {
    BYTE lastFrame[kFrameBufferSize] = {};
    int repeatCount = 0;
    DWORD lastStepWord = 0;
};

DisplayMemory memory;

// Sets forceFrame when the step changed since the last status screen, so the
// new step is shown even when the text of the frame happens not to change.
void noteStepWord(DWORD stepWord) {
    if (stepWord == memory.lastStepWord) return;
    app::state().forceFrame = 1;
    memory.lastStepWord = stepWord;
}

bool heldBack(const DisplayFrame& frame) {
    if (app::state().forceFrame) return false;
    if (std::memcmp(frame.bytes, memory.lastFrame, frame.length) != 0) return false;
    if (app::state().keyActivity) return false;
    ++memory.repeatCount;
    return memory.repeatCount < kHeldBackLimit;
}

}  // namespace

void appendLine(DisplayFrame& frame, const std::string& text, int kind) {
    const int width = kind == 1 ? kLine1Width : kOtherLineWidth;
    // Never writes past the buffer, whatever the caller appends.
    const int room = kFrameBufferSize - frame.length;
    const int total = width < room ? width : room;
    const int size = static_cast<int>(text.size());
    const int copied = size < total ? size : total;
    BYTE* out = frame.bytes + frame.length;
    std::memcpy(out, text.data(), copied);
    std::memset(out + copied, ' ', total - copied);
    frame.length = static_cast<BYTE>(frame.length + total);
}

// The step word carries the step code in bits 0-3 and NcStudio's mode in
// bits 4-7; the mode does not change the step shown.
std::string stepText(DWORD stepWord) {
    constexpr DWORD kHostModeBits = 0xF0;
    if ((stepWord & ~kHostModeBits) == 0) return "Jog";
    const DWORD stepCode = stepWord & 0x0F;
    if (stepCode == 1) return "0.01";
    if (stepCode == 2) return "0.05";
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u", static_cast<unsigned>((stepWord >> 16) & 0xFF),
                  static_cast<unsigned>((stepWord >> 8) & 0xFF));
    return text;
}

DisplayFrame buildFrame(DWORD stateWord, DWORD stepWord, std::string& locationText, BYTE day) {
    DisplayFrame frame;
    frame.bytes[0] = 0xFE;
    frame.bytes[1] = 0xFD;
    frame.bytes[2] = day;
    frame.length = 3;

    const DWORD screen = screenOf(stateWord);
    if (screen == kScreenPrompt) {
        appendFixedScreen(frame, "", "    Warning!    ", "   Yes Or No?   ");
    } else if (screen == kScreenHoming && (stateWord & 0xFF) == kMachineHoming) {
        appendFixedScreen(frame, "Refer Home", " CNC Is Homing ", "  No To Exit!  ");
    } else if (screen == kScreenHoming) {
        appendFixedScreen(frame, "Refer Home", "   X/Y/Z-axis?  ", "  Yes All Home? ");
    } else if (screen == kScreenProbe) {
        appendFixedScreen(frame, " Probe!", "    Warning!    ", "   Yes Or No?   ");
    } else {
        const bool jogAdjust = screen == kScreenJogAdjust;
        appendLine(frame, jogAdjust ? "Jog Adjust" : "    " + stepText(stepWord), 1);
        appendLocationLines(frame, locationText);
        appendLine(frame, " ", 4);
    }
    return frame;
}

BYTE currentDayByte() {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return static_cast<BYTE>(now.wDay & 0xFF);
}

void buildAndSendFrame(std::string& locationText) {
    const DWORD stateWord = statusWords().stateWord;
    const DWORD stepWord = statusWords().stepWord;
    if (showsLocation(screenOf(stateWord))) noteStepWord(stepWord);
    const DisplayFrame frame = buildFrame(stateWord, stepWord, locationText, currentDayByte());

    if (heldBack(frame)) return;
    // Counted as sent before the send: a frame that failed to go out is not
    // repeated until it is due anyway.
    std::memcpy(memory.lastFrame, frame.bytes, frame.length);
    app::state().keyActivity = 0;
    memory.repeatCount = 0;
    if (!device().sendFeatureData(frame.bytes, frame.length)) {
        app::state().linkUp = 0;
        releaseHeldKeysOnLinkLoss("display frame not sent");
    }
    app::state().forceFrame = 0;
}

void resetDisplay() { memory = DisplayMemory(); }

}  // namespace pendant
