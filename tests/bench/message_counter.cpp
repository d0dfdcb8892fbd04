#include "tests/bench/message_counter.h"

#include <atomic>

namespace bench {
namespace {

constexpr UINT kReadSent = WM_APP + 1;
constexpr UINT kReadPosted = WM_APP + 2;

std::atomic<long> sentCount{0};
std::atomic<long> postedCount{0};

// wParam 0: the message was sent by another thread.
LRESULT CALLBACK onSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == 0) ++sentCount;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Counted once, when the thread takes the message from its queue.
LRESULT CALLBACK onPosted(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && reinterpret_cast<MSG*>(lParam)->hwnd) ++postedCount;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK counterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReadSent: return sentCount;
    case kReadPosted: return postedCount;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

void countMessagesReachingThisThread() {
    SetWindowsHookExA(WH_CALLWNDPROC, onSent, nullptr, GetCurrentThreadId());
    SetWindowsHookExA(WH_GETMESSAGE, onPosted, nullptr, GetCurrentThreadId());
}

HWND createCounterWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = counterProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchMessageCounter";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

MessageCounts readCounts(HWND counterWindow) {
    return {static_cast<long>(SendMessageA(counterWindow, kReadSent, 0, 0)),
            static_cast<long>(SendMessageA(counterWindow, kReadPosted, 0, 0))};
}

}  // namespace bench
