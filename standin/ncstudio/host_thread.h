#pragma once
// NcStudio's UI thread, stood in for by a thread of our own: it owns the
// stand-in windows, pumps their messages and records what reaches them.
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace standin {

// One message that reached a stand-in window from outside (not a message the
// window's own controls sent to themselves while handling another).
struct Received {
    HWND window;
    std::string text;  // the window's text when the message arrived
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;        // the recorder's clock when the message arrived
    bool controlDown;  // the control key's state as the host thread saw it
};

class HostThread {
public:
    // `clock` stamps the recorded messages; GetTickCount when empty.
    explicit HostThread(std::function<DWORD()> clock = {});
    ~HostThread();
    HostThread(const HostThread&) = delete;
    HostThread& operator=(const HostThread&) = delete;

    // Runs `work` on the host thread and returns when it is done.
    void invoke(const std::function<void()>& work);

    // Returns once every message posted to the host thread's windows before
    // the call has been handled.
    void sync();

    // The thread stops answering for `ms` (NcStudio busy loading a large
    // program file); returns once the pause has begun.
    void pause(DWORD ms);

    DWORD threadId() const { return threadId_; }

    // Subclasses `window` (created on the host thread) so that what reaches
    // it is recorded.
    void record(HWND window);

    // What the stand-in does with a message from outside: called on the host
    // thread before the window handles it, as part of that handling (what it
    // sends to the windows is not recorded). True when it took the message,
    // which the window then does not see. Set before the windows are used.
    using Reaction = std::function<bool(const Received&)>;
    void setReaction(Reaction reaction);

    // Runs `work` on the host thread as the stand-in's own doing (a timer of
    // NcStudio's, say): what it sends to the windows is not recorded.
    static void asOwnDoing(const std::function<void()>& work);

    std::vector<Received> received() const;
    // The recorded messages of one kind, in order of arrival.
    std::vector<Received> received(UINT message) const;
    void clearReceived();

private:
    static DWORD WINAPI threadMain(LPVOID self);
    static LRESULT CALLBACK controlProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK recordingProc(HWND, UINT, WPARAM, LPARAM);
    void append(const Received& entry);

    std::function<DWORD()> clock_;
    Reaction reaction_;
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE synced_ = nullptr;
    HANDLE paused_ = nullptr;
    DWORD threadId_ = 0;
    HWND control_ = nullptr;
    mutable std::mutex lock_;
    std::vector<Received> received_;
};

}  // namespace standin
