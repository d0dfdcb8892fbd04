#include "pendant/receiver_protocol.h"

#include <algorithm>
#include <initializer_list>

namespace pendant {

namespace receiver_protocol {

namespace {

// A record of `head` followed by the report.
std::vector<BYTE> withReport(std::initializer_list<BYTE> head, const Report& report) {
    std::vector<BYTE> record(head.size() + report.size());
    std::copy(head.begin(), head.end(), record.begin());
    std::copy(report.begin(), report.end(), record.begin() + head.size());
    return record;
}

}  // namespace

std::vector<BYTE> encodeInputReport(const Report& report) { return withReport({kInputReport}, report); }

std::vector<BYTE> encodeFeatureWritten(const Report& report) {
    return withReport({kFeatureWritten}, report);
}

std::vector<BYTE> encodeFeatureRequest(BYTE sequence, BYTE reportId) {
    return {kFeatureRequest, sequence, reportId};
}

std::vector<BYTE> encodeFeatureAnswer(BYTE sequence, const Report& report) {
    return withReport({kFeatureAnswer, sequence}, report);
}

bool decode(const BYTE* data, DWORD size, Message& message) {
    if (size == 0) return false;
    message = Message{};
    message.tag = data[0];
    switch (message.tag) {
    case kInputReport:
    case kFeatureWritten:
        if (size != 1 + kReportSize) return false;
        std::copy(data + 1, data + size, message.report.begin());
        return true;
    case kFeatureRequest:
        if (size != 3) return false;
        message.sequence = data[1];
        message.reportId = data[2];
        return true;
    case kFeatureAnswer:
        if (size != 2 + kReportSize) return false;
        message.sequence = data[1];
        std::copy(data + 2, data + size, message.report.begin());
        return true;
    default:
        return false;
    }
}

}  // namespace receiver_protocol

}  // namespace pendant
