#pragma once
// The virtual pendant program (virtual_pendant.exe beside the test program)
// as a process of its own, worked with real input through the X server
// (xdotool) at its controls' places on the screen.
#include <windows.h>

#include <string>

namespace system_testing {

class VirtualPendantProcess {
public:
    // `transport`: how it reaches wheelpad ("--pipe NAME", "--device").
    explicit VirtualPendantProcess(const std::string& transport);
    ~VirtualPendantProcess();
    VirtualPendantProcess(const VirtualPendantProcess&) = delete;
    VirtualPendantProcess& operator=(const VirtualPendantProcess&) = delete;

    // Its window, once shown, waiting up to `timeoutMs`; 0 when none came.
    HWND window(DWORD timeoutMs = 10000) const;
    bool running() const;
    // The text of one of its controls: the display's four lines, the status line.
    std::string controlText(int id) const;
    bool waitForControlText(int id, const std::string& text, DWORD timeoutMs) const;
    std::string log() const;

    // Real input: the pointer to the middle of a control, then xdotool's
    // arguments (for example "click 1", "mousedown 1", "click 4").
    void pointAt(int id, const std::string& action) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    std::string logPath_;
};

// Runs xdotool with `arguments` and waits until it has ended.
bool xdotool(const std::string& arguments);

}  // namespace system_testing
