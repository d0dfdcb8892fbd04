#include "standin/pendant/report_text.h"

#include <cstdio>

namespace standin {

std::string hexBytes(const pendant::receiver_protocol::Report& report) {
    std::string text;
    char byte[4];
    for (BYTE b : report) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    text.pop_back();
    return text;
}

std::string displayListing(const DisplayText& display) {
    std::string text = "display (day " + std::to_string(display.day) + "):";
    for (const std::string& line : display.lines) text += "\n  |" + line + "|";
    return text;
}

}  // namespace standin
