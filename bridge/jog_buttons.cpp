// Caching NcStudio's jog buttons: the manual page's (after a Ctrl chord to the
// main window) and the "Jiggle" window's.
#include <cstring>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/shared_block.h"
#include "platform/clock.h"

namespace bridge {
namespace {

// Direction captions in the order they are tested, with the cache entry each
// one fills.
struct DirectionCaption {
    const char* caption;
    int entry;
};
constexpr DirectionCaption kDirections[] = {{"X-", kXMinus}, {"X+", kXPlus}, {"Y-", kYMinus},
                                            {"Y+", kYPlus},  {"Z-", kZMinus}, {"Z+", kZPlus}};
constexpr const char* kZeroCaptions[] = {"X清零", "Y清零", "Z清零"};

// The cache entry of the first direction caption `caption` contains, -1 for
// none.
int directionEntry(const char* caption) {
    for (const DirectionCaption& d : kDirections)
        if (contains(caption, d.caption)) return d.entry;
    return -1;
}

bool isZeroCaption(const char* caption) {
    for (const char* zero : kZeroCaptions)
        if (contains(caption, zero)) return true;
    return false;
}

void cacheManualJogButtons() {
    HWND page = manualPage();
    if (!page) return;
    SharedBlock& b = block();
    int matches = 0;
    for (HWND button = nextChildOfClass(page, nullptr, "Button"); button && matches < 9;
         button = nextChildOfClass(page, button, "Button")) {
        const char* caption = readText(button);
        if (!*caption) continue;
        int entry = directionEntry(caption);
        if (entry >= 0) {
            b.jogButtons[entry] = button;
            ++matches;
        } else if (isZeroCaption(caption)) {
            ++matches;
        }
    }
}

}  // namespace

void postCtrlChord(BYTE key) {
    postModifiedKey(VK_CONTROL, key, kPostWaitMs);
    cacheManualJogButtons();
    platform::sleepMs(kPostWaitMs);
}

void cacheJiggleButtons() {
    HWND jiggle = findHostWindow("Jiggle");
    if (!jiggle) return;
    SharedBlock& b = block();
    b.jiggleWindow = jiggle;
    // Runs outside the bridge mutex (from SetPcState): a buffer of its own.
    char caption[kWindowTextSize];
    int matches = 0;
    for (HWND button = nextChildOfClass(jiggle, nullptr, "Button"); button && matches < 6;
         button = nextChildOfClass(jiggle, button, "Button")) {
        caption[0] = '\0';
        GetWindowTextA(button, caption, sizeof caption);
        int entry = directionEntry(caption);
        if (entry < 0) continue;
        b.jiggleButtons[entry] = button;
        ++matches;
    }
}

}  // namespace bridge
