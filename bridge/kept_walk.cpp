#include "bridge/kept_walk.h"

#include <algorithm>
#include <cstring>

namespace bridge {
namespace {

std::vector<KeptWalk*>& allWalks() {
    static std::vector<KeptWalk*> walks;
    return walks;
}

bool isChildOf(HWND window, HWND parent) { return GetAncestor(window, GA_PARENT) == parent; }

}  // namespace

KeptWalk::KeptWalk() { allWalks().push_back(this); }

KeptWalk::~KeptWalk() {
    auto& walks = allWalks();
    walks.erase(std::remove(walks.begin(), walks.end(), this), walks.end());
}

void forgetKeptWalks() {
    for (KeptWalk* walk : allWalks()) walk->forget();
}

void KeptWalk::forget() { kept_.clear(); }

void KeptWalk::run(const std::function<void()>& read) {
    texts_.clear();
    walked_.clear();
    next_ = 0;
    mode_ = kept_.empty() ? Mode::Full : Mode::Replay;
    read();
    if (mode_ == Mode::Failed) {
        // Texts read so far stay: they are of this poll.
        mode_ = Mode::Full;
        read();
    }
    if (mode_ == Mode::Full) kept_ = std::move(walked_);
    walked_.clear();
}

void KeptWalk::fail() {
    mode_ = Mode::Failed;
    kept_.clear();
}

KeptWalk::Step* KeptWalk::keptAnswer(const Step& asked) {
    if (next_ < kept_.size()) {
        Step& kept = kept_[next_++];
        if (kept.kind == asked.kind && kept.parent == asked.parent && kept.after == asked.after &&
            kept.id == asked.id && kept.key == asked.key)
            return &kept;
    }
    fail();
    return nullptr;
}

HWND KeptWalk::answer(Step asked, HWND (*walk)(const Step&), bool (KeptWalk::*holds)(Step&)) {
    switch (mode_) {
    case Mode::Failed:
        return nullptr;
    case Mode::Full:
        asked.found = walk(asked);
        walked_.push_back(asked);
        return asked.found;
    case Mode::Replay:
        break;
    }
    Step* kept = keptAnswer(asked);
    if (!kept) return nullptr;
    if (!kept->found) {
        // Nothing was there: ask again, a window may have come since.
        if (walk(asked)) fail();
        return nullptr;
    }
    if (!(this->*holds)(*kept)) {
        fail();
        return nullptr;
    }
    return kept->found;
}

bool KeptWalk::linkHolds(Step& kept) { return GetDlgCtrlID(kept.found) == kept.id; }

bool KeptWalk::childHolds(Step& kept) {
    if (kept.emptyText) return isChildOf(kept.found, kept.parent);
    if (textOf(kept.found).text[0] != '\0') return true;
    kept.emptyText = true;
    return isChildOf(kept.found, kept.parent);
}

bool KeptWalk::textHolds(Step& kept) {
    return lstrcmpiA(textOf(kept.found).text, kept.key.c_str()) == 0;
}

HWND KeptWalk::chain(HWND from, std::initializer_list<int> ids) {
    HWND window = from;
    for (int id : ids) {
        if (!window) return nullptr;
        window = answer({Kind::Link, window, nullptr, {}, id, nullptr, 0, false},
                        [](const Step& s) { return GetDlgItem(s.parent, s.id); }, &KeptWalk::linkHolds);
    }
    return window;
}

HWND KeptWalk::nextChildOfClass(HWND parent, HWND after, const char* className) {
    return answer({Kind::ChildOfClass, parent, after, className, 0, nullptr, 0, false},
                  [](const Step& s) { return bridge::nextChildOfClass(s.parent, s.after, s.key.c_str()); },
                  &KeptWalk::childHolds);
}

HWND KeptWalk::nextChildWithText(HWND parent, HWND after, const char* text) {
    return answer({Kind::ChildWithText, parent, after, text, 0, nullptr, 0, false},
                  [](const Step& s) { return bridge::nextChildWithText(s.parent, s.after, s.key.c_str()); },
                  &KeptWalk::textHolds);
}

LONG KeptWalk::style(HWND window) {
    Step asked{Kind::Style, window, nullptr, {}, 0, nullptr, 0, false};
    switch (mode_) {
    case Mode::Failed:
        return 0;
    case Mode::Full:
        asked.style = GetWindowLongA(window, GWL_STYLE);
        walked_.push_back(asked);
        return asked.style;
    case Mode::Replay:
        break;
    }
    const Step* kept = keptAnswer(asked);
    return kept ? kept->style : 0;
}

const KeptWalk::ReadText& KeptWalk::textOf(HWND window) {
    for (const ReadText& read : texts_)
        if (read.window == window) return read;
    texts_.push_back({window, {}});
    GetWindowTextA(window, texts_.back().text, kWindowTextSize);
    return texts_.back();
}

const char* KeptWalk::readText(HWND window) {
    char* buffer = textBuffer();
    if (mode_ == Mode::Failed) {
        buffer[0] = '\0';
        return buffer;
    }
    std::memcpy(buffer, textOf(window).text, kWindowTextSize);
    return buffer;
}

}  // namespace bridge
