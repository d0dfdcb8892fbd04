#include "bridge/host_windows.h"

#include <cstring>

#include "bridge/kept_walk.h"
#include "bridge/shared_block.h"

namespace bridge {
namespace {

char theTextBuffer[kWindowTextSize];

constexpr int kMainFrameId = 59648;  // 0xE900
constexpr int kManualTabsId = 59664;  // 0xE910
constexpr int kManualPageId = 59649;  // 0xE901
constexpr int kStatusBarId = 59419;   // 0xE81B

bool hasClass(HWND window, const char* className) {
    char name[64];
    if (!GetClassNameA(window, name, sizeof name)) return false;
    return lstrcmpiA(name, className) == 0;
}

}  // namespace

HWND childChain(HWND from, std::initializer_list<int> ids) {
    HWND window = from;
    for (int id : ids) {
        if (!window) return nullptr;
        window = GetDlgItem(window, id);
    }
    return window;
}

namespace {

HWND followChain(KeptWalk* walk, std::initializer_list<int> ids) {
    return walk ? walk->chain(block().hostWindow, ids) : childChain(block().hostWindow, ids);
}

}  // namespace

HWND coordinatePanel(KeptWalk* walk) {
    return followChain(walk, {kMainFrameId, kMainFrameId, kMainFrameId});
}

HWND manualPage(KeptWalk* walk) {
    return followChain(walk, {kMainFrameId, kMainFrameId, kManualTabsId, kManualPageId});
}

HWND statusDialog(KeptWalk* walk) {
    HWND statusBar = followChain(walk, {kStatusBarId});
    if (!statusBar) return nullptr;
    return walk ? walk->nextChildOfClass(statusBar, nullptr, "#32770")
                : nextChildOfClass(statusBar, nullptr, "#32770");
}

HWND nextChildOfClass(HWND parent, HWND after, const char* className) {
    if (!parent) return nullptr;
    HWND child = after ? GetWindow(after, GW_HWNDNEXT) : GetWindow(parent, GW_CHILD);
    while (child && !hasClass(child, className)) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

HWND nextChildWithText(HWND parent, HWND after, const char* text) {
    if (!parent) return nullptr;
    return FindWindowExA(parent, after, nullptr, text);
}

const char* readText(HWND window) {
    theTextBuffer[0] = '\0';
    GetWindowTextA(window, theTextBuffer, kWindowTextSize);
    return theTextBuffer;
}

const char* readTextByMessage(HWND window) {
    theTextBuffer[0] = '\0';
    SendMessageA(window, WM_GETTEXT, kWindowTextSize, reinterpret_cast<LPARAM>(theTextBuffer));
    return theTextBuffer;
}

char* textBuffer() { return theTextBuffer; }

bool contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

void postTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window) PostMessageA(window, message, wParam, lParam);
}

}  // namespace bridge
