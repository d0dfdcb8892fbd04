// The bytes of a display frame: line widths, the screens, the step text and
// the lines read from LocationText.
#include "pendant/display_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr BYTE kDay = 17;
const std::string kHeader = std::string("\xFE\xFD") + static_cast<char>(kDay);
const std::string kBlank16(16, ' ');

std::string bytesOf(const pendant::DisplayFrame& frame) {
    return std::string(reinterpret_cast<const char*>(frame.bytes), frame.length);
}

std::string build(DWORD stateWord, DWORD stepWord, std::string location = "") {
    return bytesOf(pendant::buildFrame(stateWord, stepWord, location, kDay));
}

TEST(DisplayFrame, LinesAreCutOrPaddedToElevenForKindOneAndSixteenOtherwise) {
    pendant::DisplayFrame frame;
    pendant::appendLine(frame, "Jog Adjust and more", 1);
    pendant::appendLine(frame, "", 2);
    pendant::appendLine(frame, "0123456789abcdefXYZ", 3);
    pendant::appendLine(frame, "F:", 4);
    EXPECT_EQ(bytesOf(frame), "Jog Adjust " + kBlank16 + "0123456789abcdef" + "F:              ");
    pendant::appendLine(frame, "past the end", 2);  // five bytes are left in the buffer
    EXPECT_EQ(bytesOf(frame).substr(59), "past ");
}

TEST(DisplayFrame, FixedScreens) {
    const std::string warning = "    Warning!    " + std::string("   Yes Or No?   ") + kBlank16;
    const std::string homeQuestion =
        "Refer Home " + std::string("   X/Y/Z-axis?  ") + "  Yes All Home? " + kBlank16;
    EXPECT_EQ(build(0x1000, 0), kHeader + std::string(11, ' ') + warning);
    EXPECT_EQ(build(0x1003, 0x00010500, "X:1:2:3:"), kHeader + std::string(11, ' ') + warning);
    EXPECT_EQ(build(0x0501, 0),
              kHeader + "Refer Home " + " CNC Is Homing  " + "  No To Exit!   " + kBlank16);
    EXPECT_EQ(build(0x0500, 0), kHeader + homeQuestion);
    EXPECT_EQ(build(0x0503, 0), kHeader + homeQuestion);
    EXPECT_EQ(build(0x0511, 0), kHeader + homeQuestion);  // the whole status byte must be 1
    EXPECT_EQ(build(0x0200, 0, "X:1:2:3:"), kHeader + " Probe!    " + warning);
}

TEST(DisplayFrame, StatusScreensShowTitleOrStepAboveTheLocation) {
    const std::string location = "Y:-12.345       F:2000  S:24000 " + kBlank16;
    const char* text = "Y:-12.345:2000:24000:";
    EXPECT_EQ(build(0x0600, 0x00010500, text), kHeader + "Jog Adjust " + location);
    EXPECT_EQ(build(0x0000, 0, text), kHeader + "    Jog    " + location);
    EXPECT_EQ(build(0x2001, 0x00FFFF03, text), kHeader + "    255.255" + location);
}

TEST(DisplayFrame, StepText) {
    EXPECT_EQ(pendant::stepText(0), "Jog");
    EXPECT_EQ(pendant::stepText(0xFFFFFF01), "0.01");
    EXPECT_EQ(pendant::stepText(0x00000502), "0.05");
    EXPECT_EQ(pendant::stepText(0x00010500), "1.5");
    EXPECT_EQ(pendant::stepText(0x00013200), "1.50");
    EXPECT_EQ(pendant::stepText(0xFF000000), "0.0");
    // NcStudio's mode in bits 4-7 (1 after F7, 6 in the "Jiggle" window)
    // does not change the step shown.
    EXPECT_EQ(pendant::stepText(0x00000111), "0.01");
    EXPECT_EQ(pendant::stepText(0x00000562), "0.05");
    EXPECT_EQ(pendant::stepText(0x00000010), "Jog");
    EXPECT_EQ(pendant::stepText(0x00001464), "0.20");
}

TEST(DisplayFrame, LocationFieldsGiveLinesTwoAndThree) {
    const std::string line1 = kHeader + "    Jog    ";
    EXPECT_EQ(build(0, 0, "p:q:r:t:"),
              line1 + "p:q" + std::string(13, ' ') + "F:r     S:t     " + kBlank16);
    EXPECT_EQ(build(0, 0, "p:q:"), line1 + "p:q" + std::string(13, ' ') + kBlank16);  // 46 bytes
    EXPECT_EQ(build(0, 0, "p:q:r:"), line1 + "p:q" + std::string(13, ' ') + kBlank16);
    EXPECT_EQ(build(0, 0, "X 12.5"), line1 + kBlank16);  // 30 bytes
    // The feed is padded to six characters but never cut; lines are cut at 16.
    EXPECT_EQ(build(0, 0, "X:-1234567.8901234:1234567:89:").substr(14, 32),
              "X:-1234567.89012F:1234567S:89   ");
}

TEST(DisplayFrame, LocationTextIsConsumedUpToAnEmptyFieldOrTenFields) {
    std::string fourFields = "X:1.000:100:0:";
    pendant::buildFrame(0, 0, fourFields, kDay);
    EXPECT_EQ(fourFields, "");

    std::string emptySecond = "p::r:t:";
    EXPECT_EQ(bytesOf(pendant::buildFrame(0, 0, emptySecond, kDay)),
              kHeader + "    Jog    " + kBlank16);
    EXPECT_EQ(emptySecond, "r:t:");

    std::string twelve = "a:b:c:d:e:f:g:h:i:j:k:l:";
    EXPECT_EQ(bytesOf(pendant::buildFrame(0, 0, twelve, kDay)).substr(14, 32),
              "a:b" + std::string(13, ' ') + "F:c     S:d     ");
    EXPECT_EQ(twelve, "k:l:");
}

}  // namespace
