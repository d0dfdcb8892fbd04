// Keys, the stop command, edit fields and labels of NcStudio's windows.
#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace bridge {
namespace {

// Joins the calling thread's input to NcStudio's for one chord: the keyboard
// state a chord sets is that of the caller's input, and NcStudio sees it only
// when the two share one. A thread that shares it already (wheelpad's reader
// thread) keeps sharing it afterwards: leaving once tells whether it did, and
// it joins again at once.
class HostInputJoin {
public:
    explicit HostInputJoin(HWND host) {
        const DWORD hostThread = host ? GetWindowThreadProcessId(host, nullptr) : 0;
        const DWORD self = GetCurrentThreadId();
        if (hostThread == 0 || hostThread == self) return;
        const bool sharedBefore = AttachThreadInput(self, hostThread, FALSE) != FALSE;
        if (AttachThreadInput(self, hostThread, TRUE) && !sharedBefore) joined_ = hostThread;
    }
    ~HostInputJoin() {
        if (joined_) AttachThreadInput(GetCurrentThreadId(), joined_, FALSE);
    }
    HostInputJoin(const HostInputJoin&) = delete;
    HostInputJoin& operator=(const HostInputJoin&) = delete;

private:
    DWORD joined_ = 0;
};

}  // namespace

void postModifiedKey(BYTE modifier, BYTE key, DWORD holdMs) {
    SharedBlock& b = block();
    HostInputJoin join(b.hostWindow);
    if (!GetKeyboardState(b.keyboardState)) return;
    const BYTE savedModifier = b.keyboardState[modifier];
    b.keyboardState[modifier] |= 0x80;
    SetKeyboardState(b.keyboardState);
    // Repeat count 1, the scan code, and bits 30 and 31 set.
    const LPARAM lParam = static_cast<LPARAM>((MapVirtualKeyA(key, 0) << 16) | 0xC0000001u);
    postTo(b.hostWindow, WM_KEYDOWN, key, lParam);
    platform::sleepMs(holdMs);
    postTo(b.hostWindow, WM_KEYUP, key, lParam);
    platform::sleepMs(kPostWaitMs);
    b.keyboardState[modifier] = savedModifier;
    SetKeyboardState(b.keyboardState);
}

void postKey(HWND window, UINT virtualKey) {
    postTo(window, WM_KEYDOWN, virtualKey, 0);
    postTo(window, WM_KEYUP, virtualKey, 0);
}

void stopMachine() {
    SharedBlock& b = block();
    if (b.hostGeneration == 2) {
        postKey(b.hostWindow, VK_F11);
        platform::sleepMs(kPostWaitMs);
    } else {
        b.jogButtonsReady = 0;
        HWND controlBar = nextChildOfClass(b.hostWindow, nullptr, "AfxControlBar42");
        if (controlBar && nextChildOfClass(controlBar, nullptr, "ToolbarWindow32")) {
            PostMessageA(controlBar, WM_COMMAND, static_cast<WPARAM>(b.stopCommandId),
                         static_cast<LPARAM>(b.stopCommandId));
            platform::sleepMs(kPostWaitMs);
        }
    }
    b.machineState &= ~3;
}

HWND findSafeHeightLabel(HWND parent) {
    for (HWND label = nextChildOfClass(parent, nullptr, "Static"); label;
         label = nextChildOfClass(parent, label, "Static")) {
        const char* text = readTextByMessage(label);
        if (*text && contains(text, "Safe Height is")) return label;
    }
    return nullptr;
}

void writeEdit(HWND edit, const char* text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    if (IsWindow(edit)) SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
}

}  // namespace bridge
