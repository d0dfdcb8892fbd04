#include "standin/pendant/display_assembler.h"

namespace standin {

namespace {

constexpr size_t kPieceSize = 7;
constexpr size_t kFullFrameSize = 62;
constexpr size_t kLineOffsets[] = {3, 14, 30, 46};
constexpr size_t kLineWidths[] = {11, 16, 16, 16};

bool isCommand(const pendant::receiver_protocol::Report& report, BYTE code) {
    return report[1] == 0xA9 && report[2] == 0xA9 && report[3] == code && report[4] == 0 &&
           report[5] == 0 && report[6] == 0 && report[7] == 0;
}

// A frame byte as the display shows it: padding as a space, control bytes
// as '.', text bytes (ASCII or code page 936) as they are.
char shown(BYTE byte) {
    if (byte == 0) return ' ';
    if (byte < 0x20) return '.';
    return static_cast<char>(byte);
}

}  // namespace

DisplayAssembler::Outcome DisplayAssembler::add(const pendant::receiver_protocol::Report& report) {
    if (isCommand(report, 0x16)) return Outcome::RepairToolSetter;
    if (isCommand(report, 0x26)) return Outcome::RepairHandwheel;
    bool frameStart = report[1] == 0xFE && report[2] == 0xFD;
    if (!frameStart && frame_.empty()) return Outcome::Stray;

    bool completedEarlier = frameStart && !frame_.empty();
    if (completedEarlier) completeFrame();
    frame_.insert(frame_.end(), report.begin() + 1, report.end());
    if (frame_.size() >= kFullFrameSize) {
        completeFrame();
        return Outcome::FrameComplete;
    }
    return completedEarlier ? Outcome::FrameComplete : Outcome::Piece;
}

void DisplayAssembler::completeFrame() {
    display_.day = frame_[2];
    for (size_t line = 0; line < 4; ++line) {
        std::string& text = display_.lines[line];
        text.assign(kLineWidths[line], ' ');
        for (size_t i = 0; i < kLineWidths[line]; ++i) {
            size_t offset = kLineOffsets[line] + i;
            if (offset < frame_.size()) text[i] = shown(frame_[offset]);
        }
    }
    frame_.clear();
}

}  // namespace standin
