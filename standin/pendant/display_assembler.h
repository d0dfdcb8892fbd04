#pragma once
// The pendant's side of feature report 6: puts the display frames back
// together from their 7-byte pieces and recognises the re-pair commands.
//
// A frame begins with a piece whose first two bytes are FE FD: the header
// (FE FD, day byte) and then the text lines at fixed offsets, line 1 (11
// bytes) from offset 3 and lines 2 to 4 (16 bytes each) from offsets 14, 30
// and 46. A frame is complete with its ninth piece; a shorter frame (the
// start report, a screen without its middle lines) is complete when the next
// frame begins. The display shows what arrived at each offset: a line that a
// short frame leaves out shows the bytes that moved up into its place.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "pendant/receiver_protocol.h"

namespace standin {

struct DisplayText {
    BYTE day = 0;
    std::array<std::string, 4> lines;  // 11, 16, 16 and 16 characters

    bool operator==(const DisplayText& other) const {
        return day == other.day && lines == other.lines;
    }
};

class DisplayAssembler {
public:
    enum class Outcome {
        Piece,             // part of a frame still being received
        FrameComplete,     // display() shows the frame just completed
        RepairToolSetter,  // A9 A9 16
        RepairHandwheel,   // A9 A9 26
        Stray,             // not a frame piece nor a command
    };

    Outcome add(const pendant::receiver_protocol::Report& report);
    const DisplayText& display() const { return display_; }

private:
    void completeFrame();

    std::vector<BYTE> frame_;  // the pieces of the frame being received
    DisplayText display_;
};

}  // namespace standin
