#pragma once
// The virtual pendant's window: the display, the sixteen keys, the jog
// wheel, the axis and rate knobs, the tool setter's signals, the keyboard
// shortcuts and a status line, serving the receiver pipe or plugging in the
// virtual receiver device as the stand-in pendant does.
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "standin/pendant/display_assembler.h"
#include "standin/pendant/receiver_transport.h"
#include "standin/pendant/transport_options.h"
#include "standin/virtual_pendant/event_log.h"
#include "standin/virtual_pendant/report_repeater.h"

namespace virtual_pendant {

// Control ids: a key or tool-setter signal is kKeyIdBase plus its code.
constexpr int kKeyIdBase = 1000;
constexpr int kAxisIdBase = 1100;  // plus the position's index
constexpr int kRateIdBase = 1200;
constexpr int kLcdId = 1300;
constexpr int kWheelId = 1301;
constexpr int kStatusId = 1302;

constexpr const char* kWindowTitle = "Virtual pendant - wheelpad";
// How often a held key's report is sent again, as a repeating receiver does.
constexpr DWORD kRepeatPeriodMs = 35;

class PendantWindow {
public:
    PendantWindow(const standin::TransportOptions& transport, EventLog& log);
    ~PendantWindow();
    PendantWindow(const PendantWindow&) = delete;
    PendantWindow& operator=(const PendantWindow&) = delete;

    // Serves the pipe or plugs in the device, and shows the window; false when
    // that cannot be done (another pendant serves the pipe; the device's
    // drivers are not loaded) or the window cannot be made.
    bool open(HINSTANCE instance, int show);

    // Keyboard shortcuts and the mouse wheel over the jog wheel, taken from
    // the message loop before dispatch; true when the message was one.
    bool takeInput(const MSG& message);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK keyButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void createControls(HINSTANCE instance);
    HWND addControl(const char* windowClass, const std::string& text, DWORD style, int id, int x, int y, int width,
                    int height);
    void logPlaces();
    void addKnob(const char* title, int idBase, int x, int y, bool axis);
    void onCommand(int id, int notification);
    // `heldBy`: the mouse button or keyboard key that holds it down, 0 for
    // the function key latched by a click.
    void press(BYTE code, UINT heldBy);
    void release(BYTE code);
    void sendHeldKeys();
    void letGoOfKeysNoLongerDown();
    void selectKnobPosition(int idBase, size_t index);
    bool takeShortcut(UINT key, bool down, bool repeated);

    // What the pendant serves, for the status line and the log.
    std::string describeTransport() const { return transport_->describe(); }

    // Transport and repeater threads: hand over to the window's thread.
    void onFeatureReport(const standin::Report& report);
    void setStatus(const std::string& status);
    void showDisplay();
    void showStatus();

    EventLog& log_;
    std::atomic<HWND> window_{nullptr};  // also read by the transport and repeater threads
    HWND lcd_ = nullptr;
    HWND wheel_ = nullptr;
    HWND status_ = nullptr;
    struct HeldKey {
        BYTE code;
        UINT heldBy;
    };
    std::vector<HeldKey> held_;  // keys held down, in the order they were pressed

    std::mutex lock_;  // guards the two texts below
    std::string displayText_;
    std::string statusText_;

    standin::DisplayAssembler assembler_;  // the transport's thread only
    standin::DisplayText lastDisplay_;
    bool displayShown_ = false;
    std::unique_ptr<standin::ReceiverTransport> transport_;
    ReportRepeater repeater_;
};

}  // namespace virtual_pendant
