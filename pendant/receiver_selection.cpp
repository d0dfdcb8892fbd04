#include "pendant/receiver_selection.h"

#include <windows.h>

#include <memory>
#include <string>

#include "pendant/hid_api.h"
#include "pendant/virtual_receiver.h"
#include "platform/support_log.h"

namespace pendant {

namespace {

std::string receiverPipeName() {
    char name[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("WHEELPAD_RECEIVER", name, sizeof name);
    // 0: not set; sizeof name or more: longer than any pipe name can be.
    return length == 0 || length >= sizeof name ? std::string() : std::string(name, length);
}

}  // namespace

bool selectReceiverFromEnvironment() {
    // The receiver stays installed until the process ends.
    static std::unique_ptr<VirtualReceiver> installed;
    std::string pipeName = receiverPipeName();
    if (pipeName.empty()) return false;
    auto receiver = std::make_unique<VirtualReceiver>(pipeName);
    installHid(receiver.get());
    installed = std::move(receiver);
    platform::logEvent("receiver: the virtual receiver on pipe %s", pipeName.c_str());
    return true;
}

}  // namespace pendant
