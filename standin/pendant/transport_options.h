#pragma once
// The command-line choice of how a stand-in pendant reaches wheelpad, shared
// by the stand-in pendant and the virtual pendant:
//
//   --pipe NAME          serve the virtual receiver's pipe NAME
//   --device [--others N] plug in the virtual receiver device (under Wine,
//                        with the receiver bus's drivers), behind N other
//                        HID devices
#include <windows.h>

#include <memory>
#include <string>

#include "standin/pendant/receiver_transport.h"

namespace standin {

struct TransportOptions {
    std::string pipeName = "\\\\.\\pipe\\wheelpad-receiver";
    bool device = false;
    unsigned long otherDevices = 0;
};

// The options' part of a usage text.
extern const char* const kTransportUsage;

// Takes the transport option at argv[i] with its value (moving i past it).
// False when argv[i] is none of them; `error` is set when it is one but its
// value is missing or wrong.
bool takeTransportOption(int argc, char** argv, int& i, TransportOptions& options, std::string& error);

std::unique_ptr<ReceiverTransport> makeTransport(const TransportOptions& options,
                                                 ReceiverTransport::FeatureSink onFeatureReport);

}  // namespace standin
