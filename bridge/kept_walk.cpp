#include "bridge/kept_walk.h"

#include <algorithm>
#include <cstring>

namespace bridge {
namespace {

std::vector<KeptWalk*>& allWalks() {
    static std::vector<KeptWalk*> walks;
    return walks;
}

}  // namespace

KeptWalk::KeptWalk() { allWalks().push_back(this); }

KeptWalk::~KeptWalk() {
    auto& walks = allWalks();
    walks.erase(std::remove(walks.begin(), walks.end(), this), walks.end());
}

void forgetKeptWalks() {
    for (KeptWalk* walk : allWalks()) walk->forget();
}

void KeptWalk::forget() { known_.clear(); }

void KeptWalk::run(const std::function<void()>& read) {
    firstChildren_.clear();
    nextSiblings_.clear();
    texts_.clear();
    for (auto& entry : known_) entry.second.passed = false;
    read();
    // A window this poll did not pass may be gone, and its handle may come
    // back for another window.
    for (auto entry = known_.begin(); entry != known_.end();)
        entry = entry->second.passed ? std::next(entry) : known_.erase(entry);
}

KeptWalk::Known& KeptWalk::known(HWND window) {
    Known& entry = known_[window];
    entry.passed = true;
    return entry;
}

bool KeptWalk::hasClass(HWND window, const char* className) {
    Known& entry = known(window);
    if (entry.className.empty()) {
        char name[64];
        if (!GetClassNameA(window, name, sizeof name)) return false;
        entry.className = name;
    }
    return lstrcmpiA(entry.className.c_str(), className) == 0;
}

HWND KeptWalk::firstChild(HWND parent) {
    auto asked = firstChildren_.find(parent);
    if (asked != firstChildren_.end()) return asked->second;
    return firstChildren_[parent] = GetWindow(parent, GW_CHILD);
}

HWND KeptWalk::nextSibling(HWND window) {
    auto asked = nextSiblings_.find(window);
    if (asked != nextSiblings_.end()) return asked->second;
    return nextSiblings_[window] = GetWindow(window, GW_HWNDNEXT);
}

HWND KeptWalk::chain(HWND from, std::initializer_list<int> ids) {
    HWND window = from;
    for (int id : ids) {
        if (!window) return nullptr;
        window = GetDlgItem(window, id);
    }
    return window;
}

HWND KeptWalk::nextChildOfClass(HWND parent, HWND after, const char* className) {
    if (!parent) return nullptr;
    HWND child = after ? nextSibling(after) : firstChild(parent);
    while (child && !hasClass(child, className)) child = nextSibling(child);
    return child;
}

HWND KeptWalk::firstChildWithText(HWND parent, const char* text) {
    if (!parent) return nullptr;
    HWND child = firstChild(parent);
    while (child && lstrcmpiA(textOf(child), text) != 0) child = nextSibling(child);
    return child;
}

LONG KeptWalk::style(HWND window) {
    Known& entry = known(window);
    if (!entry.styleKnown) {
        entry.style = GetWindowLongA(window, GWL_STYLE);
        entry.styleKnown = true;
    }
    return entry.style;
}

const char* KeptWalk::textOf(HWND window) {
    for (const Text& read : texts_)
        if (read.window == window) return read.text;
    texts_.push_back({window, {}});
    GetWindowTextA(window, texts_.back().text, kWindowTextSize);
    return texts_.back().text;
}

const char* KeptWalk::readText(HWND window) {
    char* buffer = textBuffer();
    std::memcpy(buffer, textOf(window), kWindowTextSize);
    return buffer;
}

}  // namespace bridge
