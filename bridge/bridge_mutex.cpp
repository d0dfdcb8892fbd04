#include "bridge/bridge_mutex.h"

namespace bridge {
namespace {
HANDLE bridgeMutex = nullptr;
}

void createBridgeMutex() {
    bridgeMutex = CreateMutexA(nullptr, FALSE, "mdllhook");
    if (bridgeMutex) ReleaseMutex(bridgeMutex);
}

void closeBridgeMutex() {
    if (bridgeMutex) CloseHandle(bridgeMutex);
    bridgeMutex = nullptr;
}

void releaseBridgeMutexOnce() {
    if (bridgeMutex) ReleaseMutex(bridgeMutex);
}

MutexHold::MutexHold() {
    if (bridgeMutex) timedOut_ = WaitForSingleObject(bridgeMutex, kMutexWaitMs) == WAIT_TIMEOUT;
}

MutexHold::~MutexHold() {
    if (bridgeMutex && !timedOut_) ReleaseMutex(bridgeMutex);
}

}  // namespace bridge
