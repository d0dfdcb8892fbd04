#pragma once
// The pendant's display frame: 0xFE, 0xFD, the day byte and four space-padded
// text lines (11, 16, 16 and 16 bytes) built from the status values that
// ncbridge reports, and the decision whether a built frame goes out.
#include <windows.h>

#include <string>

namespace pendant {

constexpr int kFrameBufferSize = 64;

struct DisplayFrame {
    BYTE bytes[kFrameBufferSize] = {};
    BYTE length = 0;  // bytes appended so far
};

// Appends `text` cut or space-padded to 11 bytes for kind 1, 16 for any other
// kind; always appends exactly that many bytes.
void appendLine(DisplayFrame& frame, const std::string& text, int kind);

// The jog step as line 1 shows it: "Jog", "0.01", "0.05" or "%d.%d".
std::string stepText(DWORD stepWord);

// The bytes of one frame for these status values. The fields of
// `locationText` that the screen reads are removed from it.
DisplayFrame buildFrame(DWORD stateWord, DWORD stepWord, std::string& locationText, BYTE day);

// Low byte of the current UTC day of the month.
BYTE currentDayByte();

// Builds the frame from the stored StateWord and StepWord and the given
// LocationText and sends it when it changed, when forceFrame or keyActivity
// asks for it, or when it has been held back five times. A failed send
// clears linkUp and releases any key still held.
void buildAndSendFrame(std::string& locationText);

// Clears lastFrame, repeatCount and lastStepWord (main window start).
void resetDisplay();

}  // namespace pendant
