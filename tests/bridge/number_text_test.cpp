// The number parser for the texts read from NcStudio's windows.
#include <gtest/gtest.h>

#include "bridge/host_operations.h"

using bridge::parseNumber;

TEST(ParseNumber, ReadsPlainAndNegativeNumbers) {
    EXPECT_DOUBLE_EQ(parseNumber("-12.5"), -12.5);
    EXPECT_DOUBLE_EQ(parseNumber("3.25"), 3.25);
    EXPECT_DOUBLE_EQ(parseNumber("0.000"), 0.0);
    EXPECT_DOUBLE_EQ(parseNumber("120"), 120.0);
}

TEST(ParseNumber, EmptyOrNonNumericTextIsZero) {
    EXPECT_DOUBLE_EQ(parseNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(parseNumber("OFF"), 0.0);
}

TEST(ParseNumber, AMinusAnywhereNegatesWhatFollowsTheFirstCharacter) {
    // After the first character "1-7" reads "-7"; the minus negates that.
    EXPECT_DOUBLE_EQ(parseNumber("1-7"), 7.0);
    // " -4": after the first character "-4", negated.
    EXPECT_DOUBLE_EQ(parseNumber(" -4"), 4.0);
    // "12.5-": after the first character "2.5-" reads 2.5, negated.
    EXPECT_DOUBLE_EQ(parseNumber("12.5-"), -2.5);
    EXPECT_DOUBLE_EQ(parseNumber("-"), 0.0);
}

TEST(ParseNumber, TrailingTextAfterTheNumberIsIgnored) {
    EXPECT_DOUBLE_EQ(parseNumber("100.5mm"), 100.5);
    EXPECT_DOUBLE_EQ(parseNumber("-0.25 mm"), -0.25);
}
