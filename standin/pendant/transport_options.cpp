#include "standin/pendant/transport_options.h"

#include <cstdlib>

#include "standin/pendant/device_transport.h"
#include "standin/pendant/pendant_server.h"

namespace standin {

const char* const kTransportUsage = "[--pipe NAME | --device [--others N]]";

bool takeTransportOption(int argc, char** argv, int& i, TransportOptions& options, std::string& error) {
    const std::string arg = argv[i];
    if (arg == "--device") {
        options.device = true;
        return true;
    }
    if (arg != "--pipe" && arg != "--others") return false;
    if (i + 1 >= argc) {
        error = arg + ": a value is missing";
        return true;
    }
    const std::string value = argv[++i];
    if (arg == "--pipe") {
        options.pipeName = value;
        return true;
    }
    char* end = nullptr;
    const unsigned long count = std::strtoul(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || value[0] == '-' || count > receiver_bus::kMaxCrowd)
        error = "--others: a count from 0 to " + std::to_string(receiver_bus::kMaxCrowd);
    else
        options.otherDevices = count;
    return true;
}

std::unique_ptr<ReceiverTransport> makeTransport(const TransportOptions& options,
                                                 ReceiverTransport::FeatureSink onFeatureReport) {
    if (options.device) return std::make_unique<DeviceTransport>(options.otherDevices, std::move(onFeatureReport));
    return std::make_unique<PendantServer>(options.pipeName, std::move(onFeatureReport));
}

}  // namespace standin
