// The number parser for the texts read from NcStudio's windows.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"

TEST(ParseNumber, ReadsTheLeadingNumberAndAMinusAnywhereNegatesWhatFollowsTheFirstCharacter) {
    // Leading blanks (a right-aligned coordinate, a padded edit) are passed
    // over first: the sign stays the sign.
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"-12.5", -12.5}, {"3.25", 3.25}, {"0.000", 0.0}, {"120", 120.0}, {"", 0.0}, {"OFF", 0.0},
        {"100.5mm", 100.5}, {"-0.25 mm", -0.25},
        {"1-7", 7.0},     // after the first character "-7", negated
        {" -4", -4.0},    {"  -12.5", -12.5}, {"\t3.25", 3.25}, {"   ", 0.0},
        {"12.5-", -2.5},  // after the first character "2.5-" reads 2.5, negated
        {"-", 0.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(bridge::parseNumber(c.text), c.value) << '"' << c.text << '"';
}
