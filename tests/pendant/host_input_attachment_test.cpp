// The reader thread's input follows NcStudio's UI thread, and a minimised
// NcStudio is restored without being activated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pendant/key_dispatch_fixture.h"

using pendant::dispatchKeyEvent;
using pendant_testing::KeyDispatchFixture;

namespace {

// True when `thread` sees a key state this thread sets: the two threads share
// one input state.
bool sharesInputWith(standin::HostThread& thread) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE saved = keys[VK_F9];
    keys[VK_F9] = 0x80;
    SetKeyboardState(keys);
    bool seen = false;
    thread.invoke([&seen] { seen = (GetKeyState(VK_F9) & 0x8000) != 0; });
    keys[VK_F9] = saved;
    SetKeyboardState(keys);
    return seen;
}

DWORD WINAPI endAtOnce(LPVOID) { return 0; }

// The id of a thread that has ended.
DWORD endedThreadId() {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, endAtOnce, nullptr, 0, &id);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return id;
}

// The SetWindowPos flags of every position change a window goes through,
// recorded on the thread that owns it.
std::vector<UINT> positionFlags;
WNDPROC positionedWindowProc = nullptr;

LRESULT CALLBACK recordPositionFlags(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING)
        positionFlags.push_back(reinterpret_cast<const WINDOWPOS*>(lParam)->flags);
    return CallWindowProcA(positionedWindowProc, window, message, wParam, lParam);
}

}  // namespace

class HostInputAttachment : public KeyDispatchFixture {};

TEST_F(HostInputAttachment, FirstEventAttachesToNcStudiosThreadWhichStaysWhileNcStudioIsLost) {
    ASSERT_FALSE(sharesInputWith(host));
    dispatchKeyEvent(0, 0);
    EXPECT_EQ(app::state().attachedThreadId, host.threadId());
    EXPECT_TRUE(sharesInputWith(host));

    app::state().hostThreadId = 0;
    dispatchKeyEvent(0, 0);
    EXPECT_EQ(app::state().attachedThreadId, host.threadId());
    EXPECT_TRUE(sharesInputWith(host));
}

TEST_F(HostInputAttachment, NcStudioUnderANewThreadMovesTheAttachment) {
    standin::HostThread other;
    standin::NcStudioBuilder otherNcStudio{other};
    HWND otherMain = otherNcStudio.mainWindow();
    dispatchKeyEvent(0, 0);

    bindTo(other, otherMain);
    dispatchKeyEvent(0, 0);

    EXPECT_EQ(app::state().attachedThreadId, other.threadId());
    EXPECT_TRUE(sharesInputWith(other));
    EXPECT_FALSE(sharesInputWith(host)) << "detached from the old thread";

    AttachThreadInput(GetCurrentThreadId(), other.threadId(), FALSE);
    app::state().attachedThreadId = 0;
}

// Attaching to NcStudio in front, and moving the attachment away from it,
// leave its window in front: host discovery turns mapping on only while
// NcStudio owns the foreground window.
TEST_F(HostInputAttachment, NcStudioInFrontStaysInFrontWhenAttachedAndWhenTheAttachmentMoves) {
    host.invoke([this] { SetForegroundWindow(main); });
    ASSERT_EQ(GetForegroundWindow(), main);
    dispatchKeyEvent(0, 0);
    ASSERT_EQ(app::state().attachedThreadId, host.threadId());
    EXPECT_EQ(GetForegroundWindow(), main) << "attached";

    host.invoke([this] { SetForegroundWindow(main); });  // whatever attaching did
    standin::HostThread other;
    standin::NcStudioBuilder otherNcStudio{other};
    bindTo(other, otherNcStudio.mainWindow());
    dispatchKeyEvent(0, 0);
    ASSERT_EQ(app::state().attachedThreadId, other.threadId());
    EXPECT_EQ(GetForegroundWindow(), main) << "detached from its thread";

    AttachThreadInput(GetCurrentThreadId(), other.threadId(), FALSE);
    app::state().attachedThreadId = 0;
}

TEST_F(HostInputAttachment, FailedAttachIsTriedAgainWithTheNextEvent) {
    dispatchKeyEvent(0, 0);
    app::state().hostThreadId = endedThreadId();

    pendant::attachToHostInput();

    EXPECT_EQ(app::state().attachedThreadId, 0u) << "detached, then the attach failed";
    EXPECT_FALSE(sharesInputWith(host));

    bindTo(host, main);
    pendant::attachToHostInput();
    EXPECT_EQ(app::state().attachedThreadId, host.threadId());
    EXPECT_TRUE(sharesInputWith(host));
}

TEST_F(HostInputAttachment, MinimisedNcStudioIsRestoredWithoutBeingActivated) {
    host.invoke([this] {
        ShowWindow(main, SW_SHOWMINNOACTIVE);
        positionFlags.clear();
        positionedWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordPositionFlags)));
    });
    ASSERT_TRUE(IsIconic(main));

    dispatchKeyEvent(0, 0x01);
    host.sync();

    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(main));
    // Wine activates a window that is mapped again on the virtual display
    // whatever the show command asked for, so the request itself is checked:
    // the restore moved the window without activating it.
    host.invoke([this] {
        SetWindowLongPtrA(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(positionedWindowProc));
    });
    ASSERT_FALSE(positionFlags.empty());
    for (UINT flags : positionFlags) EXPECT_NE(flags & SWP_NOACTIVATE, 0u) << std::hex << flags;
    EXPECT_EQ(bridge.calls(), std::vector<std::string>{"KeyBoardProc 0 00000001"});
}
