#pragma once
// Helpers shared by the bridge tests: NcStudio layouts built in NcStudio's
// child order, with classes mixed (a static before the buttons) so that a
// search by class meets windows of other classes first, and window texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/ncstudio_builder.h"

namespace bridge_tests {

inline std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The first child of `parent` whose text is `text`, of any class.
inline HWND childWithText(HWND parent, const char* text) {
    return FindWindowExA(parent, nullptr, nullptr, text);
}

// Captions of the jog-button caches, in cache order.
inline constexpr const char* kJogCacheOrder[6] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+"};

// Expects `cache` to hold the buttons of `parent` captioned in cache order.
inline void expectJogCache(const HWND (&cache)[6], HWND parent) {
    for (int i = 0; i < 6; ++i) EXPECT_EQ(cache[i], childWithText(parent, kJogCacheOrder[i])) << kJogCacheOrder[i];
}

// What reached a stand-in window: window, message, wParam, lParam and the
// virtual time of arrival, comparable as a whole.
using Post = std::tuple<HWND, UINT, WPARAM, LPARAM, DWORD>;

inline std::vector<Post> postsOf(const std::vector<standin::Received>& received) {
    std::vector<Post> posts;
    for (const auto& r : received) posts.emplace_back(r.window, r.message, r.wParam, r.lParam, r.time);
    return posts;
}

// The manual page of `main` holding a caption static, then the jog and zero
// buttons and the step radios of `captions` (the one at `checked` checked).
inline HWND manualPageWithButtons(standin::NcStudioBuilder& ncstudio, HWND main,
                                  standin::StepCaptions captions = standin::StepCaptions::Selection,
                                  int checked = 0) {
    HWND page = ncstudio.manualPage(main);
    ncstudio.label(page, "Manual");
    ncstudio.standardManualButtons(page, captions, checked);
    return page;
}

// True when a message in [first, last] waits in the calling thread's own queue
// (where PostMessageA puts what is posted to the handle 0); removes them.
inline bool ownQueueHolds(UINT first, UINT last) {
    MSG msg;
    bool found = false;
    while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), first, last, PM_REMOVE)) found = true;
    return found;
}

}  // namespace bridge_tests
