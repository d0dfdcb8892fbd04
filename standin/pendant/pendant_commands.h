#pragma once
// The stand-in pendant's command language, one command a line:
//
//   key N [M]        hold key N (and key M as the second key); codes 1-255
//   release          let go of all keys
//   rate N           turn the rate knob to position code N (0-255)
//   axis A           turn the axis knob to X, Y, Z, spindle, feed, lead
//                    (codes 17-22) or to a position code 0-255
//   wheel N          turn the jog wheel by N counts (-128 to 127) in one report
//   turn N           keep the wheel turning: every report carries N counts
//                    (-128 to 127) until "turn 0"
//   repeat MS        the receiver repeats the report every MS milliseconds
//                    while a key is down or the wheel turns (0: never)
//   wait MS          pause the script for MS milliseconds
//   channels HW TS   radio channels answered to status reads (0-255)
//   ids HW TS        radio ids answered to status reads (0-65535, 0x.. allowed)
//   unplug           pull the receiver out (the pipe: drop the connection)
//   plug             plug the receiver in again
//   quit             end the pendant
//
// Blank lines and lines starting with '#' are skipped. Every key, release,
// rate, axis, wheel and turn command sends one input report with the keys and
// knobs as they now stand; the wheel command's report carries its count, the
// others the count of a turning wheel (0 unless "turn" set one).
#include <optional>
#include <string>

#include "pendant/receiver_protocol.h"

namespace standin {

struct PendantCommand {
    enum class Kind { Key, Release, Rate, Axis, Wheel, Turn, Repeat, Wait, Channels, Ids, Quit, Unplug, Plug };
    Kind kind;
    long first = 0;
    long second = 0;
};

// One line: a command, nothing (blank or comment), or false with `error` set.
bool parseCommand(const std::string& line, std::optional<PendantCommand>& command,
                  std::string& error);

// The keys and knobs as the commands left them.
class PendantControls {
public:
    // The input report a key, release, rate, axis, wheel or turn command
    // sends.
    pendant::receiver_protocol::Report apply(const PendantCommand& command);
    // The report as the controls now stand: what a receiver repeats.
    pendant::receiver_protocol::Report standing() const;

private:
    BYTE key1_ = 0;
    BYTE key2_ = 0;
    BYTE rateKnob_ = 0;
    BYTE axisKnob_ = 0;
    BYTE turning_ = 0;
};

}  // namespace standin
