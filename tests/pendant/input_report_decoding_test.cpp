// Input reports decoded into the wheel count and the key word.
#include <gtest/gtest.h>

#include "pendant/key_dispatch.h"

namespace {

struct Decoding {
    BYTE report[8];
    int wheelDelta;
    DWORD keyWord;
};

class InputReportDecoding : public ::testing::TestWithParam<Decoding> {};

TEST_P(InputReportDecoding, GivesWheelByteSixAndKeyBytesTwoToFiveInPlace) {
    const Decoding& expected = GetParam();
    int wheelDelta = -1;
    int keyWord = -1;
    pendant::decodeInputReport(expected.report, wheelDelta, keyWord);
    EXPECT_EQ(wheelDelta, expected.wheelDelta);
    EXPECT_EQ(static_cast<DWORD>(keyWord), expected.keyWord);
}

// Bytes 0, 1 and 7 are not part of the event, whatever they hold.
INSTANTIATE_TEST_SUITE_P(
    Reports, InputReportDecoding,
    ::testing::Values(
        Decoding{{0x04, 0x11, 0x00, 0x00, 0x00, 0x00, 0x00, 0x22}, 0, 0x00000000},
        // A zero key1 does not move key2 down.
        Decoding{{0x04, 0x00, 0x00, 0x07, 0x00, 0x03, 0x00, 0x00}, 0, 0x03000700},
        Decoding{{0x04, 0x00, 0x04, 0x00, 0x05, 0x01, 0xFE, 0x00}, 254, 0x01050004},
        // The wheel byte is zero-extended, never sign-extended.
        Decoding{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 255, 0xFFFFFFFF},
        Decoding{{0x04, 0x00, 0x00, 0x00, 0x00, 0x80, 0x80, 0x00}, 128, 0x80000000}));

}  // namespace
