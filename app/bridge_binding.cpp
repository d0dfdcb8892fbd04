#include "app/bridge_binding.h"

#include <mutex>

#include "app/process_state.h"
#include "bridge/exports.h"
#include "pendant/pendant_device.h"

namespace app {
namespace {

// Serialises loading, freeing and taking a reference to the library, never a
// call into it.
std::mutex moduleLock;

// A reference to the loaded library for the length of one call: freeBridge
// meanwhile takes away its own reference only.
class HeldBridge {
public:
    HeldBridge() {
        std::lock_guard<std::mutex> guard(moduleLock);
        HMODULE loaded = state().bridgeModule;
        if (loaded && !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                          reinterpret_cast<const char*>(loaded), &module_))
            module_ = nullptr;
    }
    ~HeldBridge() {
        if (module_) FreeLibrary(module_);
    }
    HeldBridge(const HeldBridge&) = delete;
    HeldBridge& operator=(const HeldBridge&) = delete;

    HMODULE module() const { return module_; }

private:
    HMODULE module_ = nullptr;
};

template <typename Function>
Function exportOf(HMODULE module, const char* name) {
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The export `name` of the loaded library, looked up afresh; nullptr when the
// library cannot be loaded or lacks the export.
template <typename Function>
Function findExport(const char* name) {
    HMODULE module = ensureBridgeLoaded();
    if (!module) return nullptr;
    return exportOf<Function>(module, name);
}

}  // namespace

HMODULE ensureBridgeLoaded() {
    std::lock_guard<std::mutex> guard(moduleLock);
    ProcessState& process = state();
    if (!process.bridgeModule) process.bridgeModule = LoadLibraryA(bridge_abi::kLibraryName);
    return process.bridgeModule;
}

void freeBridge() {
    HMODULE module = nullptr;
    {
        std::lock_guard<std::mutex> guard(moduleLock);
        module = state().bridgeModule;
        state().bridgeModule = nullptr;
    }
    if (module) FreeLibrary(module);
}

int callInstallhook(HWND hostMain) {
    if (!ensureBridgeLoaded() || !pendant::device().connected) return 0;
    auto installhook = findExport<bridge_abi::InstallHookFn>("installhook");
    if (!installhook) return 0;
    state().hostWindow = hostMain;
    return installhook(hostMain);
}

int callUnHook() {
    auto unHook = findExport<bridge_abi::UnHookFn>("UnHook");
    return unHook ? unHook() : 0;
}

void callEnableMap(int on) {
    if (auto enableMap = findExport<bridge_abi::EnableMapFn>("EnableMap")) enableMap(on);
}

void callSetVer(int flag) {
    if (auto setVer = findExport<bridge_abi::SetVerFn>("SetVer")) setVer(flag);
}

void callSetPcState(HWND window, int pcState) {
    auto setPcState = findExport<bridge_abi::SetPcStateFn>("SetPcState");
    if (!setPcState) return;
    // Only windows of the bound NcStudio's UI thread; a window that no longer
    // exists has no thread and never matches, not even while unbound.
    const DWORD hostThread = state().hostThreadId;
    if (hostThread == 0 || GetWindowThreadProcessId(window, nullptr) != hostThread) return;
    setPcState(window, pcState);
}

bool callGetMaState(HWND mainWindow, int& result) {
    auto getMaState = findExport<bridge_abi::GetMaStateFn>("GetMaState");
    if (!getMaState || !state().linkUp) return false;
    result = getMaState(mainWindow);
    return true;
}

bool callGetMaStep(int& result) {
    auto getMaStep = findExport<bridge_abi::GetMaStepFn>("GetMaStep");
    if (!getMaStep) return false;
    result = getMaStep();
    return true;
}

bool callGetAxisLocation(char* buffer1024, int& result) {
    auto getAxisLocation = findExport<bridge_abi::GetAxisLocationFn>("GetAxisLocation");
    if (!getAxisLocation) return false;
    result = getAxisLocation(buffer1024);
    return true;
}

void callSetKnifHigh(double height, int enabled) {
    if (auto setKnifHigh = findExport<bridge_abi::SetKnifHighFn>("SetKnifHigh"))
        setKnifHigh(height, enabled);
}

bool callKeyBoardProc(int wheelDelta, int keyWord, int& result) {
    HeldBridge bridge;
    if (!bridge.module()) return false;
    auto keyBoardProc = exportOf<bridge_abi::KeyBoardProcFn>(bridge.module(), "KeyBoardProc");
    if (!keyBoardProc) return false;
    result = keyBoardProc(wheelDelta, keyWord);
    return true;
}

}  // namespace app
