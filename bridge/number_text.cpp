// Numbers read from NcStudio's window texts.
#include <cstdlib>
#include <cstring>

#include "bridge/host_operations.h"

namespace bridge {

// A text with a '-' anywhere is negative: the value read after its first
// character, negated.
double parseNumber(const char* text) {
    if (std::strchr(text, '-')) return -std::atof(text + 1);
    return std::atof(text);
}

}  // namespace bridge
