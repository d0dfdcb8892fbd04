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
    EXPECT_EQ((Report{4, 0, 0, 0, 0, 17, 0, 0}), controls.apply(parsed("axis X")));
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

TEST(PendantCommandsTest, AxisNamesAndCodes) {
    PendantControls controls;
    EXPECT_EQ(19, controls.apply(parsed("axis z"))[5]);
    EXPECT_EQ(20, controls.apply(parsed("axis spindle"))[5]);
    EXPECT_EQ(21, controls.apply(parsed("axis Feed"))[5]);
    EXPECT_EQ(22, controls.apply(parsed("axis lead"))[5]);
    EXPECT_EQ(0, controls.apply(parsed("axis 0"))[5]);
}

TEST(PendantCommandsTest, SettingsAndPauses) {
    PendantCommand ids = parsed("ids 0xBEEF 4660");
    EXPECT_EQ(PendantCommand::Kind::Ids, ids.kind);
    EXPECT_EQ(0xBEEF, ids.first);
    EXPECT_EQ(4660, ids.second);
    PendantCommand channels = parsed("  channels 12 34  ");
    EXPECT_EQ(PendantCommand::Kind::Channels, channels.kind);
    EXPECT_EQ(34, channels.second);
    EXPECT_EQ(200, parsed("wait 200").first);
    EXPECT_EQ(PendantCommand::Kind::Quit, parsed("quit").kind);
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
    EXPECT_NE("", errorOf("key"));
    EXPECT_NE("", errorOf("key 256"));
    EXPECT_NE("", errorOf("key 1 2 3"));
    EXPECT_NE("", errorOf("key 1x"));
    EXPECT_NE("", errorOf("wheel 128"));
    EXPECT_NE("", errorOf("wheel -129"));
    EXPECT_NE("", errorOf("axis W"));
    EXPECT_NE("", errorOf("ids 65536 0"));
    EXPECT_NE("", errorOf("channels 1"));
    EXPECT_NE("", errorOf("wait -1"));
    EXPECT_NE("", errorOf("quit now"));
    EXPECT_NE("", errorOf("release 0"));
}

}  // namespace
