#include <gtest/gtest.h>

#include <vector>

#include "pendant/receiver_protocol.h"

namespace {

namespace protocol = pendant::receiver_protocol;

const protocol::Report kReport = {6, 0xFE, 0xFD, 0x1F, 0x20, 0x00, 0xA9, 0xFF};

protocol::Message decoded(const std::vector<BYTE>& record) {
    protocol::Message message;
    EXPECT_TRUE(protocol::decode(record.data(), static_cast<DWORD>(record.size()), message));
    return message;
}

TEST(ReceiverProtocolTest, RecordsDecodeToWhatWasEncoded) {
    EXPECT_EQ(std::vector<BYTE>({'I', 6, 0xFE, 0xFD, 0x1F, 0x20, 0x00, 0xA9, 0xFF}),
              protocol::encodeInputReport(kReport));
    EXPECT_EQ(kReport, decoded(protocol::encodeInputReport(kReport)).report);

    protocol::Message written = decoded(protocol::encodeFeatureWritten(kReport));
    EXPECT_EQ(protocol::kFeatureWritten, written.tag);
    EXPECT_EQ(kReport, written.report);

    EXPECT_EQ(std::vector<BYTE>({'G', 200, 6}), protocol::encodeFeatureRequest(200, 6));
    protocol::Message request = decoded(protocol::encodeFeatureRequest(200, 6));
    EXPECT_EQ(200, request.sequence);
    EXPECT_EQ(6, request.reportId);

    protocol::Message answer = decoded(protocol::encodeFeatureAnswer(201, kReport));
    EXPECT_EQ(protocol::kFeatureAnswer, answer.tag);
    EXPECT_EQ(201, answer.sequence);
    EXPECT_EQ(kReport, answer.report);
}

TEST(ReceiverProtocolTest, RecordsOfTheWrongLengthOrTagAreRefused) {
    protocol::Message message;
    std::vector<BYTE> shortInput = protocol::encodeInputReport(kReport);
    shortInput.pop_back();
    std::vector<BYTE> longAnswer = protocol::encodeFeatureAnswer(1, kReport);
    longAnswer.push_back(0);
    std::vector<BYTE> unknown = {'X', 1, 2, 3, 4, 5, 6, 7, 8};
    for (const std::vector<BYTE>& record : {shortInput, longAnswer, unknown, std::vector<BYTE>{'G', 1}})
        EXPECT_FALSE(protocol::decode(record.data(), static_cast<DWORD>(record.size()), message));
    EXPECT_FALSE(protocol::decode(nullptr, 0, message));
}

}  // namespace
