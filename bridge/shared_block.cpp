#include "bridge/shared_block.h"

#include "bridge/bridge_mutex.h"
#include "bridge/host_operations.h"
#include "bridge/kept_walk.h"

namespace bridge {
namespace {
// A data section of its own, private to the process like any other.
__attribute__((section("MSHARDAT"))) SharedBlock theBlock;
}  // namespace

SharedBlock& block() { return theBlock; }

void startUp() {
    theBlock = SharedBlock{};
    clearPendingRelease();
    forgetKeptWalks();
    createBridgeMutex();
}

void shutDown() {
    closeBridgeMutex();
    theBlock.stepText.clear();
    theBlock.spindleText.clear();
    theBlock.feedText.clear();
    theBlock.lastFeedText.clear();
}

}  // namespace bridge
