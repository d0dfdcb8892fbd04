#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "standin/pendant/pendant_commands.h"

namespace {

using standin::PendantCommand;
using standin::PendantControls;
using pendant::receiver_protocol::Report;

PendantCommand parsed(const std::string& line) {
    std::optional<PendantCommand> command;
    std::string error;
    EXPECT_TRUE(standin::parseCommand(line, command, error)) << line << ": " << error;
    EXPECT_TRUE(command.has_value()) << line;
    return command.value_or(PendantCommand{PendantCommand::Kind::Quit});
}

std::string errorOf(const std::string& line) {
    std::optional<PendantCommand> command;
    std::string error;
    EXPECT_FALSE(standin::parseCommand(line, command, error)) << line;
    EXPECT_FALSE(command.has_value()) << line;
    return error;
}

TEST(PendantCommandsTest, ReportsCarryTheKeysAndKnobsAsTheyNowStand) {
    PendantControls controls;
    EXPECT_EQ((Report{4, 0, 0, 0, 0, 17, 0, 0}), controls.apply(parsed("axis x")));
    EXPECT_EQ((Report{4, 0, 0, 0, 0, 22, 0, 0}), controls.apply(parsed("axis lead")));
    EXPECT_EQ((Report{4, 0, 0, 0, 0, 17, 0, 0}), controls.apply(parsed("axis 17")));
    EXPECT_EQ((Report{4, 0, 0, 0, 155, 17, 0, 0}), controls.apply(parsed("rate 155")));
    EXPECT_EQ((Report{4, 0, 14, 16, 155, 17, 0, 0}), controls.apply(parsed("key 14 16")));
    EXPECT_EQ((Report{4, 0, 14, 16, 155, 17, 3, 0}), controls.apply(parsed("wheel +3")));
    EXPECT_EQ((Report{4, 0, 0, 0, 155, 17, 0, 0}), controls.apply(parsed("release")));
}

TEST(PendantCommandsTest, OnlyTheWheelCommandsReportCarriesACount) {
    PendantControls controls;
    EXPECT_EQ(0xFD, controls.apply(parsed("wheel -3"))[6]);
    EXPECT_EQ(0x80, controls.apply(parsed("wheel -128"))[6]);
    EXPECT_EQ(0, controls.apply(parsed("key 7"))[6]);
    EXPECT_EQ((Report{4, 0, 0, 0, 0, 0, 0, 0}), controls.apply(parsed("release")));
}

TEST(PendantCommandsTest, BlankLinesAndCommentsAreNoCommand) {
    for (const std::string line : {"", "   ", "# key 1", "#"}) {
        std::optional<PendantCommand> command;
        std::string error;
        EXPECT_TRUE(standin::parseCommand(line, command, error)) << line;
        EXPECT_FALSE(command.has_value()) << line;
    }
}

TEST(PendantCommandsTest, OutOfRangeAndMalformedArgumentsAreRefused) {
    EXPECT_EQ("unknown command \"press\"", errorOf("press 1"));
    for (const char* line : {"key", "key 256", "key 1 2 3", "key 1x", "wheel 128", "wheel -129", "axis W",
                             "ids 65536 0", "channels 1", "wait -1", "quit now", "release 0"})
        EXPECT_NE(errorOf(line), "") << line;
}

}  // namespace
