#include "standin/ncstudio/host_thread.h"

#include <commctrl.h>

namespace standin {
namespace {

constexpr UINT kInvoke = WM_APP + 1;
constexpr UINT kSync = WM_APP + 2;
constexpr UINT kPause = WM_APP + 3;
constexpr const char* kControlClass = "StandinHostControl";
constexpr const char* kOriginalProp = "StandinOriginalProc";
constexpr const char* kHostProp = "StandinHost";

// Depth of recorded messages being handled on the host thread: a message that
// arrives while another is handled was sent by the windows themselves.
thread_local int handlingDepth = 0;

bool isRecorded(UINT message) {
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CHAR:
    case WM_COMMAND: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_CLOSE: case WM_SETTEXT:
    case WM_HSCROLL: case WM_VSCROLL:
    case BM_CLICK: case BM_SETCHECK: case BM_SETSTATE:
    case EM_SETSEL: case EM_SCROLLCARET: case EM_REPLACESEL:
    case TBM_SETPOS:
        return true;
    default:
        return false;
    }
}

}  // namespace

HostThread::HostThread(std::function<DWORD()> clock) : clock_(std::move(clock)) {
    if (!clock_) clock_ = [] { return GetTickCount(); };
    ready_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    synced_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    paused_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, &threadId_);
    WaitForSingleObject(ready_, INFINITE);
}

HostThread::~HostThread() {
    PostMessageA(control_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
    CloseHandle(synced_);
    CloseHandle(paused_);
}

DWORD WINAPI HostThread::threadMain(LPVOID param) {
    auto* self = static_cast<HostThread*>(param);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = controlProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kControlClass;
    RegisterClassA(&wc);
    self->control_ = CreateWindowExA(0, kControlClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     wc.hInstance, nullptr);
    SetPropA(self->control_, kHostProp, self);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here on
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

LRESULT CALLBACK HostThread::controlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<HostThread*>(GetPropA(window, kHostProp));
    switch (message) {
    case kInvoke:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    case kSync:
        SetEvent(self->synced_);
        return 0;
    case kPause:
        SetEvent(self->paused_);
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case WM_CLOSE:
        RemovePropA(window, kHostProp);
        DestroyWindow(window);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void HostThread::invoke(const std::function<void()>& work) {
    SendMessageA(control_, kInvoke, 0, reinterpret_cast<LPARAM>(&work));
}

void HostThread::sync() {
    PostMessageA(control_, kSync, 0, 0);
    WaitForSingleObject(synced_, INFINITE);
}

void HostThread::pause(DWORD ms) {
    PostMessageA(control_, kPause, ms, 0);
    WaitForSingleObject(paused_, INFINITE);
}

void HostThread::record(HWND window) {
    SetPropA(window, kHostProp, this);
    LONG_PTR original = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordingProc));
    SetPropA(window, kOriginalProp, reinterpret_cast<HANDLE>(original));
}

LRESULT CALLBACK HostThread::recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto original = reinterpret_cast<WNDPROC>(GetPropA(window, kOriginalProp));
    auto* self = static_cast<HostThread*>(GetPropA(window, kHostProp));
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kOriginalProp);
        RemovePropA(window, kHostProp);
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    if (!isRecorded(message)) return CallWindowProcA(original, window, message, wParam, lParam);
    bool taken = false;
    ++handlingDepth;
    if (handlingDepth == 1 && self) {
        char text[64] = {};
        GetWindowTextA(window, text, sizeof text);
        Received entry{window, text, message, wParam, lParam, self->clock_(),
                       (GetKeyState(VK_CONTROL) & 0x8000) != 0};
        self->append(entry);
        if (self->reaction_) taken = self->reaction_(entry);
    }
    LRESULT result = taken ? 0 : CallWindowProcA(original, window, message, wParam, lParam);
    --handlingDepth;
    return result;
}

void HostThread::setReaction(Reaction reaction) {
    invoke([&] { reaction_ = std::move(reaction); });
}

void HostThread::asOwnDoing(const std::function<void()>& work) {
    ++handlingDepth;
    work();
    --handlingDepth;
}

void HostThread::append(const Received& entry) {
    std::lock_guard<std::mutex> guard(lock_);
    received_.push_back(entry);
}

std::vector<Received> HostThread::received() const {
    std::lock_guard<std::mutex> guard(lock_);
    return received_;
}

std::vector<Received> HostThread::received(UINT message) const {
    std::vector<Received> matching;
    for (const Received& entry : received())
        if (entry.message == message) matching.push_back(entry);
    return matching;
}

void HostThread::clearReceived() {
    std::lock_guard<std::mutex> guard(lock_);
    received_.clear();
}

}  // namespace standin
