#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin/pendant/display_assembler.h"

namespace {

using standin::DisplayAssembler;
using pendant::receiver_protocol::Report;
using Outcome = DisplayAssembler::Outcome;

// The feature reports a frame goes out in: id 6 and 7 bytes each, the last
// one padded with zero bytes.
std::vector<Report> piecesOf(const std::string& frame) {
    std::vector<Report> reports;
    for (size_t at = 0; at < frame.size(); at += 7) {
        Report report{6};
        for (size_t i = 0; i < 7 && at + i < frame.size(); ++i) report[1 + i] = static_cast<BYTE>(frame[at + i]);
        reports.push_back(report);
    }
    return reports;
}

std::vector<Outcome> feed(DisplayAssembler& assembler, const std::vector<Report>& reports) {
    std::vector<Outcome> outcomes;
    for (const Report& report : reports) outcomes.push_back(assembler.add(report));
    return outcomes;
}

const std::string kHeader = "\xFE\xFD\x0C";
const std::string kLine1 = "Jog Adjust ";
const std::string kLine2 = "X:1.000:0       ";
const std::string kLine3 = "F:100%S:18000   ";
const std::string kLine4 = "                ";

TEST(DisplayAssemblerTest, AFullFrameIsCompleteWithItsNinthPiece) {
    DisplayAssembler assembler;
    std::vector<Outcome> outcomes = feed(assembler, piecesOf(kHeader + kLine1 + kLine2 + kLine3 + kLine4));
    ASSERT_EQ(9u, outcomes.size());
    EXPECT_EQ(std::vector<Outcome>(8, Outcome::Piece), std::vector<Outcome>(outcomes.begin(), outcomes.end() - 1));
    EXPECT_EQ(Outcome::FrameComplete, outcomes.back());
    EXPECT_EQ(12, assembler.display().day);
    EXPECT_EQ((std::array<std::string, 4>{kLine1, kLine2, kLine3, kLine4}), assembler.display().lines);
}

TEST(DisplayAssemblerTest, AShortFrameIsCompleteWhenTheNextBegins) {
    DisplayAssembler assembler;
    // Header, line 1 and line 4: 30 bytes, five pieces; line 4 moves up.
    std::vector<Outcome> outcomes = feed(assembler, piecesOf(kHeader + "    Jog    " + "Line four here! "));
    EXPECT_EQ(std::vector<Outcome>(5, Outcome::Piece), outcomes);

    EXPECT_EQ(Outcome::FrameComplete, assembler.add(piecesOf(kHeader + kLine1)[0]));
    EXPECT_EQ("    Jog    ", assembler.display().lines[0]);
    EXPECT_EQ("Line four here! ", assembler.display().lines[1]);
    EXPECT_EQ(std::string(16, ' '), assembler.display().lines[2]);  // the padding of the last piece
    EXPECT_EQ(std::string(16, ' '), assembler.display().lines[3]);
}

TEST(DisplayAssemblerTest, RePairCommandsAreRecognisedEvenBetweenPiecesOfAFrame) {
    DisplayAssembler assembler;
    std::vector<Report> pieces = piecesOf(kHeader + kLine1 + kLine2 + kLine3 + kLine4);
    feed(assembler, std::vector<Report>(pieces.begin(), pieces.begin() + 4));
    EXPECT_EQ(Outcome::RepairToolSetter, assembler.add({6, 0xA9, 0xA9, 0x16, 0, 0, 0, 0}));
    EXPECT_EQ(Outcome::RepairHandwheel, assembler.add({6, 0xA9, 0xA9, 0x26, 0, 0, 0, 0}));
    std::vector<Outcome> rest = feed(assembler, std::vector<Report>(pieces.begin() + 4, pieces.end()));
    EXPECT_EQ(Outcome::FrameComplete, rest.back());
    EXPECT_EQ(kLine3, assembler.display().lines[2]);
}

TEST(DisplayAssemblerTest, PiecesWithoutAFrameStartAreStray) {
    DisplayAssembler assembler;
    EXPECT_EQ(Outcome::Stray, assembler.add({6, 'a', 'b', 'c', 'd', 'e', 'f', 'g'}));
    EXPECT_EQ(Outcome::Stray, assembler.add({6, 0xA9, 0xA9, 0x16, 1, 0, 0, 0}));
    feed(assembler, piecesOf(kHeader + "A\x01\xB0\xA1       " + kLine2 + kLine3 + kLine4));
    EXPECT_EQ("A.\xB0\xA1       ", assembler.display().lines[0]) << "control bytes show as dots";
}

}  // namespace
