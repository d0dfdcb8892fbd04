// The bytes of a display frame: line widths, the screens, the step text and
// the lines read from LocationText.
#include "pendant/display_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pendant::DisplayFrame;

constexpr BYTE kDay = 17;
const std::string kHeader = std::string("\xFE\xFD") + static_cast<char>(kDay);
const std::string kBlank11(11, ' ');
const std::string kBlank16(16, ' ');

std::string bytesOf(const DisplayFrame& frame) {
    return std::string(reinterpret_cast<const char*>(frame.bytes), frame.length);
}

std::string build(DWORD stateWord, DWORD stepWord, std::string location = "") {
    return bytesOf(pendant::buildFrame(stateWord, stepWord, location, kDay));
}

TEST(AppendLine, CutsAndPadsToElevenForKindOneAndSixteenOtherwise) {
    DisplayFrame frame;
    pendant::appendLine(frame, "Jog Adjust and more", 1);
    pendant::appendLine(frame, "", 2);
    pendant::appendLine(frame, "0123456789abcdefXYZ", 3);
    pendant::appendLine(frame, "F:", 4);
    EXPECT_EQ(bytesOf(frame), "Jog Adjust " + kBlank16 + "0123456789abcdef" + "F:              ");
    EXPECT_EQ(frame.length, 11 + 16 + 16 + 16);
}

TEST(AppendLine, NeverWritesPastTheBuffer) {
    DisplayFrame frame;
    frame.length = 62;
    pendant::appendLine(frame, "overflowing text", 2);
    EXPECT_EQ(frame.length, pendant::kFrameBufferSize);
    EXPECT_EQ(frame.bytes[62], 'o');
    EXPECT_EQ(frame.bytes[63], 'v');
}

TEST(Screens, PromptShowsTheWarningWhateverTheMachineStatus) {
    const std::string expected =
        kHeader + kBlank11 + "    Warning!    " + "   Yes Or No?   " + kBlank16;
    EXPECT_EQ(build(0x1000, 0), expected);
    EXPECT_EQ(build(0x1003, 0x00010500, "X:1:2:3:"), expected);
    EXPECT_EQ(expected.size(), 62u);
}

TEST(Screens, HomingScreenDependsOnTheWholeStatusByte) {
    EXPECT_EQ(build(0x0501, 0),
              kHeader + "Refer Home " + " CNC Is Homing  " + "  No To Exit!   " + kBlank16);
    const std::string question =
        kHeader + "Refer Home " + "   X/Y/Z-axis?  " + "  Yes All Home? " + kBlank16;
    EXPECT_EQ(build(0x0500, 0), question);
    EXPECT_EQ(build(0x0503, 0), question);
    // 0x11 is not 1: only the value 1 means the machine is homing.
    EXPECT_EQ(build(0x0511, 0), question);
}

TEST(Screens, ProbeScreen) {
    EXPECT_EQ(build(0x0200, 0x00010500, "X:1:2:3:"),
              kHeader + " Probe!    " + "    Warning!    " + "   Yes Or No?   " + kBlank16);
}

TEST(Screens, JogAdjustShowsTheLocationUnderItsTitle) {
    EXPECT_EQ(build(0x0600, 0x00010500, "X:1.5:100:8000:"),
              kHeader + "Jog Adjust " + "X:1.5           " + "F:100   S:8000  " + kBlank16);
}

TEST(Screens, OtherScreensShowTheStepAndTheLocation) {
    const std::string expected =
        kHeader + "    Jog    " + "Y:-12.345       " + "F:2000  S:24000 " + kBlank16;
    EXPECT_EQ(build(0x0000, 0, "Y:-12.345:2000:24000:"), expected);
    EXPECT_EQ(build(0x0101, 0, "Y:-12.345:2000:24000:"), expected);
    EXPECT_EQ(build(0x2000, 0, "Y:-12.345:2000:24000:"), expected);
}

TEST(StepText, ContinuousJogAndTheTwoFixedSteps) {
    EXPECT_EQ(pendant::stepText(0), "Jog");
    EXPECT_EQ(pendant::stepText(0x00000001), "0.01");
    EXPECT_EQ(pendant::stepText(0xFFFFFF01), "0.01");
    EXPECT_EQ(pendant::stepText(0x00000502), "0.05");
}

TEST(StepText, OtherStepsAreWholeDotHundredthsAsUnsignedBytes) {
    EXPECT_EQ(pendant::stepText(0x00010500), "1.5");
    EXPECT_EQ(pendant::stepText(0x00013200), "1.50");
    EXPECT_EQ(pendant::stepText(0x00FFFF0A), "255.255");
    EXPECT_EQ(pendant::stepText(0xFF000000), "0.0");
    // Step code 1 with a host mode in bits 4-7 is no longer the 0.01 step.
    EXPECT_EQ(pendant::stepText(0x00000A11), "0.10");
    EXPECT_EQ(pendant::stepText(0x00000012), "0.0");
}

TEST(StepText, LineOneIsTheStepBehindFourSpaces) {
    EXPECT_EQ(build(0, 0).substr(3, 11), "    Jog    ");
    EXPECT_EQ(build(0, 0x12345601).substr(3, 11), "    0.01   ");
    EXPECT_EQ(build(0, 0x00010500).substr(3, 11), "    1.5    ");
    EXPECT_EQ(build(0, 0x00FFFF03).substr(3, 11), "    255.255");
}

TEST(LocationLines, FourFieldsGiveLinesTwoAndThreeAndAreConsumed) {
    std::string location = "p:q:r:t:";
    const DisplayFrame frame = pendant::buildFrame(0, 0, location, kDay);
    EXPECT_EQ(bytesOf(frame), kHeader + "    Jog    " + "p:q" + std::string(13, ' ') +
                                  "F:r     S:t     " + kBlank16);
    EXPECT_EQ(frame.length, 62);
    EXPECT_EQ(location, "");
}

TEST(LocationLines, TwoOrThreeFieldsGiveLineTwoOnly) {
    const std::string expected = kHeader + "    Jog    " + "p:q" + std::string(13, ' ') + kBlank16;
    EXPECT_EQ(build(0, 0, "p:q:"), expected);
    EXPECT_EQ(build(0, 0, "p:q:r:"), expected);
    EXPECT_EQ(expected.size(), 46u);
}

TEST(LocationLines, AnEmptyFieldStopsTheReading) {
    std::string location = "p::r:t:";
    const DisplayFrame frame = pendant::buildFrame(0, 0, location, kDay);
    EXPECT_EQ(bytesOf(frame), kHeader + "    Jog    " + kBlank16);
    EXPECT_EQ(location, "r:t:");
}

TEST(LocationLines, NoFieldsGiveHeaderLineOneAndLineFour) {
    std::string noColon = "X 12.5";
    EXPECT_EQ(bytesOf(pendant::buildFrame(0, 0, noColon, kDay)),
              kHeader + "    Jog    " + kBlank16);
    EXPECT_EQ(noColon, "X 12.5");
    EXPECT_EQ(build(0, 0, "").size(), 30u);
}

TEST(LocationLines, FeedIsPaddedToSixButNeverCutAndLongLinesAreCut) {
    EXPECT_EQ(build(0, 0, "Feed Adjust: :120%:18000:").substr(14),
              "Feed Adjust: " + std::string(3, ' ') + "F:120%  S:18000 " + kBlank16);
    EXPECT_EQ(build(0, 0, "X:-1234567.8901234:1234567:89:").substr(14),
              "X:-1234567.89012" + std::string("F:1234567S:89   ") + kBlank16);
    EXPECT_EQ(build(0, 0, "Z:0:123456:123456789012:").substr(30, 16), "F:123456S:123456");
}

TEST(LocationLines, ReadsAtMostTenFields) {
    std::string location = "a:b:c:d:e:f:g:h:i:j:k:l:";
    EXPECT_EQ(bytesOf(pendant::buildFrame(0, 0, location, kDay)).substr(14),
              "a:b" + std::string(13, ' ') + "F:c     S:d     " + kBlank16);
    EXPECT_EQ(location, "k:l:");
}

}  // namespace
