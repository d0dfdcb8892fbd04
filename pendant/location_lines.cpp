#include "pendant/location_lines.h"

namespace pendant {
namespace {

constexpr int kMaxFields = 10;
constexpr std::size_t kFeedWidth = 6;

// Removes the first field and its ":" from `text`; empty when there is no ":".
std::string takeField(std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) return std::string();
    std::string field = text.substr(0, colon);
    text.erase(0, colon + 1);
    return field;
}

}  // namespace

void appendLocationLines(DisplayFrame& frame, std::string& locationText) {
    std::string line;
    for (int fieldNumber = 1; fieldNumber <= kMaxFields; ++fieldNumber) {
        const std::string field = takeField(locationText);
        if (field.empty()) break;
        switch (fieldNumber) {
        case 1:
            line = field + ":";
            break;
        case 2:
            appendLine(frame, line + field, 2);
            break;
        case 3:
            line = "F:" + field;
            if (field.size() < kFeedWidth) line.append(kFeedWidth - field.size(), ' ');
            break;
        case 4:
            appendLine(frame, line + "S:" + field, 3);
            break;
        default:
            break;  // further fields are not shown
        }
    }
}

}  // namespace pendant
