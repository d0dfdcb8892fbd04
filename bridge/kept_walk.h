#pragma once
// A status reader's walk over NcStudio's windows, with what never changes
// about a window kept from one poll to the next.
//
// Every poll walks NcStudio's windows as the reader's algorithm says: each
// chain of control ids is followed with GetDlgItem, each sibling step is taken
// with GetWindow, each text is read with GetWindowTextA, so a poll sees every
// change of structure (a control inserted, destroyed, moved to another parent
// or to another place among its siblings, a control id changed) and of text
// as a first walk would. What it keeps is what a window cannot change while
// it exists: its class, asked once with GetClassNameA (the costliest question
// of a walk), and a button's style, asked once. A window handle names one
// window while it exists; the windows a poll does not pass are forgotten.
// Within one poll each sibling step and each text is asked once.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "bridge/host_windows.h"

namespace bridge {

class KeptWalk {
public:
    KeptWalk();
    ~KeptWalk();
    KeptWalk(const KeptWalk&) = delete;
    KeptWalk& operator=(const KeptWalk&) = delete;

    // Runs `read`, one walk over NcStudio's windows, as this poll's walk.
    void run(const std::function<void()>& read);

    // The window at the end of a chain of control ids from `from`
    // (GetDlgItem at each step); nullptr when a link is missing.
    HWND chain(HWND from, std::initializer_list<int> ids);

    // As bridge::nextChildOfClass.
    HWND nextChildOfClass(HWND parent, HWND after, const char* className);

    // The first child of `parent` whose text is `text` (compared as
    // FindWindowExA compares a title).
    HWND firstChildWithText(HWND parent, const char* text);

    // GWL_STYLE of `window`, as it was when it was first asked.
    LONG style(HWND window);

    // The text of `window` (GetWindowTextA) in the per-process text buffer,
    // read once per poll; the pointer stays valid until the next read.
    const char* readText(HWND window);

    // Forgets every window: the next poll asks every class and style again.
    void forget();

private:
    struct Known {
        std::string className;  // empty until asked
        LONG style = 0;
        bool styleKnown = false;
        bool passed = false;  // by this poll
    };
    struct Text {
        HWND window;
        char text[kWindowTextSize];
    };

    Known& known(HWND window);
    bool hasClass(HWND window, const char* className);
    HWND firstChild(HWND parent);
    HWND nextSibling(HWND window);
    const char* textOf(HWND window);

    std::unordered_map<HWND, Known> known_;
    // This poll's answers: sibling steps (first child: keyed by the parent) and texts.
    std::unordered_map<HWND, HWND> firstChildren_;
    std::unordered_map<HWND, HWND> nextSiblings_;
    std::vector<Text> texts_;
};

// Forgets what every reader's walk kept (library start-up).
void forgetKeptWalks();

}  // namespace bridge
