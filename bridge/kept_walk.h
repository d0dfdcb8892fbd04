#pragma once
// A status reader's walk over NcStudio's windows, kept from one poll to the
// next so that a poll of an unchanged NcStudio costs a few window calls.
//
// A full walk asks NcStudio's windows as the reader's algorithm says (chains
// of control ids, children by class or by text, button styles) and keeps
// every question with the window it found. The next poll asks the same
// questions in the same order; each is answered from the kept walk after a
// cheap check of the window kept:
// - a chain link still has its control id (a destroyed window has none, and
//   NcStudio's frame changes the ids of the views it swaps);
// - a child found by class still has a text or, with an empty text, its parent
//   (a child whose text was empty is checked by its parent first);
// - a child found by text still has that text (compared as FindWindowExA does);
// - a question that found nothing is asked again.
// Window texts are read afresh on every poll (GetWindowTextA, once per window
// and poll), and button styles are kept with their windows. A poll that asks
// another question (a text it read changed the reader's way) or whose kept
// window fails its check is walked again in full, and that walk is kept.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "bridge/host_windows.h"

namespace bridge {

class KeptWalk {
public:
    KeptWalk();
    ~KeptWalk();
    KeptWalk(const KeptWalk&) = delete;
    KeptWalk& operator=(const KeptWalk&) = delete;

    // Runs `read` over the kept walk and, when that no longer holds, once more
    // as a full walk. `read` only finds and reads windows: it must start from
    // scratch each time it runs and leave the reader's results to its caller.
    void run(const std::function<void()>& read);

    // True while this run answers from the kept walk and every check so far
    // held: the windows found are those the last full walk found.
    bool replaying() const { return mode_ == Mode::Replay; }

    // The window at the end of a chain of control ids from `from`
    // (GetDlgItem at each step); nullptr when a link is missing.
    HWND chain(HWND from, std::initializer_list<int> ids);

    // As bridge::nextChildOfClass and bridge::nextChildWithText.
    HWND nextChildOfClass(HWND parent, HWND after, const char* className);
    HWND nextChildWithText(HWND parent, HWND after, const char* text);

    // GWL_STYLE of `window`, as it was when the full walk asked.
    LONG style(HWND window);

    // The text of `window` (GetWindowTextA) in the per-process text buffer,
    // read once per run; the pointer stays valid until the next read.
    const char* readText(HWND window);

    // Drops the kept walk: the next run walks in full.
    void forget();

private:
    enum class Mode { Replay, Full, Failed };
    enum class Kind { Link, ChildOfClass, ChildWithText, Style };
    struct Step {
        Kind kind;
        HWND parent;
        HWND after;
        std::string key;  // class or text asked for
        int id;           // control id of a link
        HWND found;
        LONG style;
        bool emptyText;  // a child found by class was last checked by its parent
    };
    struct ReadText {
        HWND window;
        char text[kWindowTextSize];
    };

    // The kept step that answers `asked` in this replay, nullptr (and the run
    // failed) when the walk takes another way.
    Step* keptAnswer(const Step& asked);
    HWND answer(Step asked, HWND (*walk)(const Step&), bool (KeptWalk::*holds)(Step&));
    bool linkHolds(Step& kept);
    bool childHolds(Step& kept);
    bool textHolds(Step& kept);
    const ReadText& textOf(HWND window);
    void fail();

    Mode mode_ = Mode::Full;
    std::vector<Step> kept_;
    std::vector<Step> walked_;
    size_t next_ = 0;
    std::vector<ReadText> texts_;
};

// Drops every reader's kept walk (library start-up).
void forgetKeptWalks();

}  // namespace bridge
