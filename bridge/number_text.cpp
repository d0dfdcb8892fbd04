// Numbers read from NcStudio's window texts.
#include <cstdlib>
#include <cstring>

#include "bridge/host_operations.h"

namespace bridge {

// Leading blanks are passed over (a right-aligned coordinate, a padded edit).
// A text with a '-' anywhere then is negative: the value read after its first
// character, negated.
double parseNumber(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    if (std::strchr(text, '-')) return -std::atof(text + 1);
    return std::atof(text);
}

}  // namespace bridge
