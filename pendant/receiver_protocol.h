#pragma once
// The records exchanged over the receiver pipe between the virtual receiver
// (the pipe's client, inside wheelpad) and a stand-in pendant (the pipe's
// server). The pipe is a duplex message-mode pipe; each message is one record:
// a tag byte followed by a fixed payload (the README describes it).
#include <windows.h>

#include <array>
#include <vector>

namespace pendant {

namespace receiver_protocol {

// Every report on the link, input or feature, is 8 bytes with its id in byte 0.
constexpr DWORD kReportSize = 8;
using Report = std::array<BYTE, kReportSize>;

// pendant -> receiver: an input report (keys, knobs, wheel).
constexpr BYTE kInputReport = 'I';
// receiver -> pendant: a feature report written by the driver.
constexpr BYTE kFeatureWritten = 'F';
// receiver -> pendant: the driver reads a feature report; sequence, report id.
constexpr BYTE kFeatureRequest = 'G';
// pendant -> receiver: the answer to a request; sequence, the 8-byte report.
constexpr BYTE kFeatureAnswer = 'A';

// The longest record (an answer) in bytes.
constexpr DWORD kMaxMessageSize = 2 + kReportSize;

struct Message {
    BYTE tag = 0;
    BYTE sequence = 0;  // requests and answers only
    BYTE reportId = 0;  // requests only
    Report report{};    // input reports, written feature reports and answers
};

std::vector<BYTE> encodeInputReport(const Report& report);
std::vector<BYTE> encodeFeatureWritten(const Report& report);
std::vector<BYTE> encodeFeatureRequest(BYTE sequence, BYTE reportId);
std::vector<BYTE> encodeFeatureAnswer(BYTE sequence, const Report& report);

// False for an unknown tag or a record of the wrong length for its tag.
bool decode(const BYTE* data, DWORD size, Message& message);

}  // namespace receiver_protocol

}  // namespace pendant
