#pragma once
// How the stand-in pendants print what crosses the receiver: reports as hex
// bytes and the display as its four lines between bars.
#include <string>

#include "standin/pendant/display_assembler.h"

namespace standin {

// "04 00 0C 00 11 01 00 00"
std::string hexBytes(const pendant::receiver_protocol::Report& report);

// "display (day N):" and the four lines, each as "  |line|" on a line of its own.
std::string displayListing(const DisplayText& display);

}  // namespace standin
