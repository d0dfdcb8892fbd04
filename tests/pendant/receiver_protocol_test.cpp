#include <gtest/gtest.h>

#include <vector>

#include "pendant/receiver_protocol.h"

namespace {

namespace protocol = pendant::receiver_protocol;

const protocol::Report kReport = {6, 0xFE, 0xFD, 0x1F, 0x20, 0x00, 0xA9, 0xFF};

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
