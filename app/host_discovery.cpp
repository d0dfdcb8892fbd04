#include "app/host_discovery.h"

#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "app/bridge_binding.h"
#include "app/host_version.h"
#include "app/process_state.h"
#include "platform/support_log.h"

namespace app {
namespace {

constexpr int kTitleLimit = 100;
constexpr int kClassLimit = 55;
constexpr int kParentSteps = 10;
constexpr int kDialogHoldSteps = 2;
const char* const kDialogClass = "#32770";
// The main thread's: a dialog staying in front is logged once.
platform::LogChange promptLog;

std::string className(HWND window) {
    char name[kClassLimit] = {};
    GetClassNameA(window, name, kClassLimit);
    return name;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

HWND topLevelOf(HWND window) {
    HWND top = window;
    for (int step = 0; step < kParentSteps; ++step) {
        HWND parent = GetParent(top);
        if (!parent) break;
        top = parent;
    }
    return top;
}

// An NcStudio main window: "ncstudio" in its title, no backslash (a path),
// and not a dialog box.
bool isHostMainWindow(HWND window) {
    const std::string title = lowerCaseTitle(window);
    return contains(title, "ncstudio") && !contains(title, "\\") &&
           !contains(className(window), kDialogClass);
}

void readHostExePath(DWORD processId) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return;
    char path[MAX_PATH] = {};
    GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = '\0';
    state().hostExePath = path;
    CloseHandle(process);
}

HWND findTitled(const char* title) { return FindWindowA(nullptr, title); }

}  // namespace

std::string lowerCaseTitle(HWND window) {
    char title[kTitleLimit] = {};
    GetWindowTextA(window, title, kTitleLimit);
    std::string text = title;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

bool promptTest(HWND window) {
    for (int button : {IDNO, IDCANCEL, IDYES, IDOK}) {
        if (GetDlgItem(window, button)) {
            if (GetWindowThreadProcessId(window, nullptr) == state().hostThreadId)
                platform::logEventOnChange(promptLog, "NcStudio's dialog %p in front: \"%s\"",
                                           static_cast<void*>(window), lowerCaseTitle(window).c_str());
            callSetPcState(window, kPcPrompt);
            return true;
        }
    }
    return false;
}

void HostDiscovery::discover(HWND foreground) {
    if (!foreground) return;
    HWND top = topLevelOf(foreground);
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(top, &process);
    const DWORD hostThread = state().hostThreadId;
    if (hostThread != 0 && thread == hostThread) {
        hostInFront(foreground);
    } else if (top != lastTopWindow) {
        examine(top, thread, process);
    }
    checkHost(foreground);
}

void HostDiscovery::hostInFront(HWND foreground) {
    ProcessState& process = state();
    if (!process.hostFound) {
        process.hostFound = 1;
        callEnableMap(1);
    }
    if (contains(lowerCaseTitle(foreground), "ncstudio") && foreground == process.hostWindow) {
        if (dialogHold > 0) {
            --dialogHold;
        } else {
            callSetPcState(process.hostWindow, kPcMainWindow);
        }
    }
}

void HostDiscovery::examine(HWND top, DWORD thread, DWORD process) {
    lastTopWindow = top;
    if (!isHostMainWindow(top)) return;
    readHostExePath(process);
    if (!readHostVersion()) state().verFlag = 1;
    platform::logEvent("NcStudio found: \"%s\", %s, generation %d", lowerCaseTitle(top).c_str(),
                       state().hostExePath.c_str(), state().verFlag + 1);
    callSetVer(state().verFlag);
    if (!callUnHook()) return;
    bind(top, thread, process);
}

void HostDiscovery::bind(HWND top, DWORD thread, DWORD process) {
    const int installed = callInstallhook(top);
    platform::logEvent(installed ? "NcStudio bound (installhook 1)" : "installhook gave 0: tried again on the next refresh");
    if (installed) {
        ProcessState& state = app::state();
        state.hostThreadId = thread;
        state.hostProcessId = process;
        callSetPcState(top, kPcMainWindow);
        // Not waiting for NcStudio's thread: busy or hung at its start, it
        // would hold the tray, the hotkey and the tick.
        ShowWindowAsync(state.hostWindow, SW_SHOWMAXIMIZED);
    }
    // A failed binding is tried again on the next refresh.
    lastTopWindow = nullptr;
}

void HostDiscovery::checkHost(HWND foreground) {
    ProcessState& process = state();
    HWND host = process.hostWindow;
    if (!host) return;
    DWORD owner = 0;
    if (GetWindowThreadProcessId(host, &owner) == 0 || owner != process.hostProcessId) {
        platform::logEvent("NcStudio gone: unbound");
        callUnHook();
        process.hostWindow = nullptr;
        process.hostFound = 0;
        process.hostThreadId = 0;
        return;
    }
    if (trackDialogs(foreground)) dialogHold = kDialogHoldSteps;
    if (dialogHold > 0) {
        --dialogHold;
    } else {
        callSetPcState(process.hostWindow, kPcMainWindow);
    }
}

bool HostDiscovery::trackPromptOnce(HWND dialog) {
    if (dialog != lastTopWindow) {
        lastTopWindow = dialog;
        promptTest(dialog);
    }
    return true;
}

// NcStudio's dialogs in their order; true at the first one found.
bool HostDiscovery::trackDialogs(HWND foreground) {
    HWND found = findTitled("NcStudio");
    if (found && contains(className(found), kDialogClass)) return trackPromptOnce(found);
    if ((found = findTitled("jiggle"))) {
        callSetPcState(found, kPcJiggle);
        return true;
    }
    for (const char* title : {"bkref: move to reference point", "  BKREF  ", "BKREF: Back to Mechanical Origin"}) {
        if ((found = findTitled(title))) {
            callSetPcState(found, kPcBackToReference);
            return true;
        }
    }
    if ((found = findTitled("Set current work coordinate:"))) return trackPromptOnce(found);
    if ((found = findTitled("paramters"))) {
        callSetPcState(found, kPcParameters);
        return true;
    }
    if ((found = findTitled("Calibration"))) {
        callSetPcState(found, kPcCalibration);
        return true;
    }
    return promptTest(foreground);
}

}  // namespace app
