#include "standin/virtual_pendant/pendant_window.h"

#include <windowsx.h>

#include <algorithm>

#include "standin/pendant/report_text.h"
#include "standin/virtual_pendant/jog_wheel_view.h"
#include "standin/virtual_pendant/lcd_view.h"
#include "standin/virtual_pendant/pendant_controls_table.h"

namespace virtual_pendant {

namespace {

constexpr UINT kDisplayChanged = WM_APP + 2;
constexpr UINT kStatusChanged = WM_APP + 3;
constexpr UINT_PTR kHeldCheckTimer = 1;
constexpr UINT kHeldCheckMs = 30;

constexpr int kClientWidth = 660;
constexpr int kClientHeight = 530;
constexpr int kMargin = 12;
constexpr int kKeyWidth = 116;
constexpr int kKeyHeight = 50;
constexpr int kKeyGap = 6;
constexpr int kKeysTop = 196;

const char* const kWindowClass = "WheelpadVirtualPendant";

const char* const kLegend =
    "Keyboard: each key's letter is shown in [ ]. Hold F for the Fn chords: F+A halves X or Y, F+D presses the "
    "axis button.\r\nAxis knob: F1 OFF, F2 X, F3 Y, F4 Z, F5 spindle, F6 feed, F7 lead. Rate knob: 1 to 7.\r\n"
    "Wheel: the mouse wheel over it, dragging it round, or the arrow keys (PgUp/PgDn: 10 counts).";

WNDPROC buttonClassProc = nullptr;

bool isKeyCode(int id) {
    return id > kKeyIdBase && id < kAxisIdBase;
}

const KeyFace* keyWithShortcut(UINT key) {
    for (const auto* faces : {&pendantKeys(), &toolSetterSignals()})
        for (const KeyFace& face : *faces)
            if (face.shortcut == key) return &face;
    return nullptr;
}

std::string keyCaption(const KeyFace& face) {
    return std::to_string(face.code) + "  " + face.label + "\n[" + face.shortcutName + "]";
}

int wheelCountsOf(UINT key) {
    switch (key) {
    case VK_UP:
    case VK_RIGHT:
        return 1;
    case VK_DOWN:
    case VK_LEFT:
        return -1;
    case VK_PRIOR:
        return 10;
    case VK_NEXT:
        return -10;
    default:
        return 0;
    }
}

}  // namespace

PendantWindow::PendantWindow(const standin::TransportOptions& transport, EventLog& log)
    : log_(log),
      transport_(standin::makeTransport(transport,
                                        [this](const standin::Report& report) { onFeatureReport(report); })),
      repeater_(*transport_, kRepeatPeriodMs,
                ReportRepeater::Observer{
                    [this](bool connected) {
                        log_.write(connected ? "receiver connected" : "waiting for the receiver");
                        setStatus(connected ? "Receiver connected." : "Waiting for the receiver on " + describeTransport());
                    },
                    [this](const standin::Report& report) {
                        log_.write("sent: " + standin::hexBytes(report));
                        setStatus("Receiver connected. Last report sent: " + standin::hexBytes(report));
                    }}) {}

PendantWindow::~PendantWindow() {
    if (window_) DestroyWindow(window_);
}

bool PendantWindow::open(HINSTANCE instance, int show) {
    if (!transport_->start()) return false;
    log_.write("serving " + describeTransport());

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, style, FALSE);
    // At the right of the screen, where NcStudio's coordinates stay in sight.
    RECT workArea = {0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    window_ = CreateWindowExA(0, kWindowClass, kWindowTitle, style,
                              std::max<int>(workArea.left, workArea.right - width),
                              std::max<int>(workArea.top, workArea.bottom - height), width, height, nullptr, nullptr,
                              instance, this);
    if (!window_) return false;
    createControls(instance);
    logPlaces();
    setStatus("Waiting for the receiver on " + describeTransport());
    ShowWindow(window_, show);
    repeater_.start();
    return true;
}

HWND PendantWindow::addControl(const char* windowClass, const std::string& text, DWORD style, int id, int x, int y,
                               int width, int height) {
    HWND control = CreateWindowExA(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

void PendantWindow::createControls(HINSTANCE instance) {
    lcd_ = addControl(lcdViewClass(instance), "", 0, kLcdId, kMargin, kMargin, 300, 150);
    addKnob("Axis knob", kAxisIdBase, 326, 6, true);
    addKnob("Rate knob", kRateIdBase, 494, 6, false);

    const std::vector<KeyFace>& keys = pendantKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        const int x = kMargin + static_cast<int>(i % 4) * (kKeyWidth + kKeyGap);
        const int y = kKeysTop + static_cast<int>(i / 4) * (kKeyHeight + kKeyGap);
        const DWORD kind = keys[i].code == kFunctionKey ? BS_AUTOCHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON;
        HWND button = addControl("BUTTON", keyCaption(keys[i]), kind | BS_MULTILINE, kKeyIdBase + keys[i].code, x, y,
                                 kKeyWidth, kKeyHeight);
        // Keys are held: the press and the release count, not the click.
        if (keys[i].code != kFunctionKey)
            buttonClassProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyButtonProc)));
    }

    const int sideX = kMargin + 4 * (kKeyWidth + kKeyGap) + 8;
    const int sideWidth = kClientWidth - kMargin - sideX;
    addControl("STATIC", "Jog wheel", SS_CENTER, -1, sideX, kKeysTop - 4, sideWidth, 16);
    wheel_ = addControl(jogWheelViewClass(instance), "", 0, kWheelId, sideX + (sideWidth - 130) / 2, kKeysTop + 14,
                        130, 130);
    addControl("BUTTON", "Tool setter", BS_GROUPBOX, -1, sideX, kKeysTop + 150, sideWidth, 74);
    const std::vector<KeyFace>& signals = toolSetterSignals();
    for (size_t i = 0; i < signals.size(); ++i) {
        const int width = (sideWidth - 16) / 3;
        HWND button = addControl("BUTTON", std::string(signals[i].label) + "\n[" + signals[i].shortcutName + "]",
                                 BS_PUSHBUTTON | BS_MULTILINE, kKeyIdBase + signals[i].code,
                                 sideX + 6 + static_cast<int>(i) * (width + 2), kKeysTop + 168, width, 48);
        buttonClassProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyButtonProc)));
    }

    const int legendTop = kKeysTop + 4 * (kKeyHeight + kKeyGap) + 4;
    addControl("STATIC", kLegend, 0, -1, kMargin, legendTop, kClientWidth - 2 * kMargin, 48);
    status_ = addControl("STATIC", "", SS_SUNKEN | SS_LEFTNOWORDWRAP, kStatusId, kMargin, kClientHeight - 26,
                         kClientWidth - 2 * kMargin, 20);
}

// Where each key, knob position and the wheel are on the screen, for whoever
// works the window by script: "place key 4 at 70 233".
void PendantWindow::logPlaces() {
    auto place = [this](const std::string& name, int id) {
        RECT area = {};
        GetWindowRect(GetDlgItem(window_, id), &area);
        log_.write("place " + name + " at " + std::to_string((area.left + area.right) / 2) + " " +
                   std::to_string((area.top + area.bottom) / 2));
    };
    for (const auto* faces : {&pendantKeys(), &toolSetterSignals()})
        for (const KeyFace& face : *faces) place("key " + std::to_string(face.code), kKeyIdBase + face.code);
    for (size_t i = 0; i < axisPositions().size(); ++i)
        place("axis " + std::to_string(axisPositions()[i].code), kAxisIdBase + static_cast<int>(i));
    for (size_t i = 0; i < ratePositions().size(); ++i)
        place("rate " + std::to_string(ratePositions()[i].code), kRateIdBase + static_cast<int>(i));
    place("wheel", kWheelId);
}

void PendantWindow::addKnob(const char* title, int idBase, int x, int y, bool axis) {
    const std::vector<KnobPosition>& positions = axis ? axisPositions() : ratePositions();
    addControl("BUTTON", title, BS_GROUPBOX, -1, x, y, 156, 180);
    for (size_t i = 0; i < positions.size(); ++i) {
        const std::string text = std::string(positions[i].label) + "  [" + positions[i].shortcutName + "]";
        addControl("BUTTON", text, BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), idBase + static_cast<int>(i),
                   x + 10, y + 20 + static_cast<int>(i) * 22, 140, 20);
    }
    // The knobs start where a pendant taken from its box has them: the axis
    // knob on OFF, the rate knob on its first position.
    CheckRadioButton(window_, idBase, idBase + static_cast<int>(positions.size()) - 1, idBase);
    if (axis)
        repeater_.turnAxisKnob(positions[0].code);
    else
        repeater_.turnRateKnob(positions[0].code);
}

void PendantWindow::selectKnobPosition(int idBase, size_t index) {
    const bool axis = idBase == kAxisIdBase;
    const std::vector<KnobPosition>& positions = axis ? axisPositions() : ratePositions();
    if (index >= positions.size()) return;
    CheckRadioButton(window_, idBase, idBase + static_cast<int>(positions.size()) - 1,
                     idBase + static_cast<int>(index));
    if (axis)
        repeater_.turnAxisKnob(positions[index].code);
    else
        repeater_.turnRateKnob(positions[index].code);
}

void PendantWindow::press(BYTE code, UINT heldBy) {
    auto same = [code](const HeldKey& held) { return held.code == code; };
    if (std::find_if(held_.begin(), held_.end(), same) != held_.end() || held_.size() >= 2) return;
    held_.push_back(HeldKey{code, heldBy});
    if (heldBy != 0) SetTimer(window_, kHeldCheckTimer, kHeldCheckMs, nullptr);
    sendHeldKeys();
}

void PendantWindow::release(BYTE code) {
    auto same = [code](const HeldKey& held) { return held.code == code; };
    auto at = std::find_if(held_.begin(), held_.end(), same);
    if (at == held_.end()) return;
    held_.erase(at);
    sendHeldKeys();
}

void PendantWindow::sendHeldKeys() {
    repeater_.holdKeys(held_.empty() ? 0 : held_[0].code, held_.size() > 1 ? held_[1].code : 0);
}

// A key stays held while its mouse button or keyboard key is down, wherever
// the release goes: a dialog of NcStudio's that comes to the front takes the
// mouse and the keyboard from this window, but not the finger off the key.
void PendantWindow::letGoOfKeysNoLongerDown() {
    bool checking = false;
    for (const HeldKey& held : std::vector<HeldKey>(held_)) {
        if (held.heldBy == 0) continue;
        if (GetAsyncKeyState(static_cast<int>(held.heldBy)) & 0x8000)
            checking = true;
        else
            release(held.code);
    }
    if (!checking) KillTimer(window_, kHeldCheckTimer);
}

void PendantWindow::onCommand(int id, int notification) {
    if (notification != BN_CLICKED) return;
    if (id == kKeyIdBase + kFunctionKey) {
        // A click latches the function key, so that the mouse can make its chords.
        if (IsDlgButtonChecked(window_, id) == BST_CHECKED)
            press(kFunctionKey, 0);
        else
            release(kFunctionKey);
    } else if (id >= kAxisIdBase && id < kRateIdBase) {
        selectKnobPosition(kAxisIdBase, static_cast<size_t>(id - kAxisIdBase));
    } else if (id >= kRateIdBase && id < kLcdId) {
        selectKnobPosition(kRateIdBase, static_cast<size_t>(id - kRateIdBase));
    }
}

bool PendantWindow::takeShortcut(UINT key, bool down, bool repeated) {
    if (const KeyFace* face = keyWithShortcut(key)) {
        if (repeated) return true;  // the repeater repeats a held key, not the keyboard
        if (face->code == kFunctionKey)
            CheckDlgButton(window_, kKeyIdBase + kFunctionKey, down ? BST_CHECKED : BST_UNCHECKED);
        if (down)
            press(face->code, key);
        else
            release(face->code);
        return true;
    }
    if (!down) return false;
    if (const int counts = wheelCountsOf(key)) {
        turnJogWheel(wheel_, counts);
        return true;
    }
    for (int idBase : {kAxisIdBase, kRateIdBase}) {
        const std::vector<KnobPosition>& positions = idBase == kAxisIdBase ? axisPositions() : ratePositions();
        for (size_t i = 0; i < positions.size(); ++i) {
            if (positions[i].shortcut != key) continue;
            if (!repeated) selectKnobPosition(idBase, i);
            return true;
        }
    }
    return false;
}

bool PendantWindow::takeInput(const MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    switch (message.message) {
    case WM_KEYDOWN:
        return takeShortcut(static_cast<UINT>(message.wParam), true, (message.lParam & 0x40000000) != 0);
    case WM_KEYUP:
        return takeShortcut(static_cast<UINT>(message.wParam), false, false);
    case WM_MOUSEWHEEL: {
        // The wheel message goes to the window with the focus; it turns the
        // jog wheel when the pointer is over it.
        RECT area;
        GetWindowRect(wheel_, &area);
        const POINT at = {GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
        if (!PtInRect(&area, at)) return false;
        SendMessageA(wheel_, WM_MOUSEWHEEL, message.wParam, message.lParam);
        return true;
    }
    default:
        return false;
    }
}

void PendantWindow::onFeatureReport(const standin::Report& report) {
    using Outcome = standin::DisplayAssembler::Outcome;
    switch (assembler_.add(report)) {
    case Outcome::FrameComplete: {
        const standin::DisplayText& display = assembler_.display();
        if (displayShown_ && display == lastDisplay_) return;  // frames repeat while nothing changes
        displayShown_ = true;
        lastDisplay_ = display;
        log_.write(standin::displayListing(display));
        std::string text;
        for (const std::string& line : display.lines) text += line + "\n";
        {
            std::lock_guard<std::mutex> hold(lock_);
            displayText_ = text;
        }
        PostMessageA(window_, kDisplayChanged, 0, 0);
        return;
    }
    case Outcome::RepairToolSetter:
        log_.write("re-pair command: tool setter (" + standin::hexBytes(report) + ")");
        return;
    case Outcome::RepairHandwheel:
        log_.write("re-pair command: handwheel (" + standin::hexBytes(report) + ")");
        return;
    case Outcome::Stray:
        log_.write("feature report: " + standin::hexBytes(report));
        return;
    case Outcome::Piece:
        return;
    }
}

void PendantWindow::setStatus(const std::string& status) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        statusText_ = status;
    }
    PostMessageA(window_, kStatusChanged, 0, 0);
}

void PendantWindow::showDisplay() {
    std::lock_guard<std::mutex> hold(lock_);
    SetWindowTextA(lcd_, displayText_.c_str());
}

void PendantWindow::showStatus() {
    std::lock_guard<std::mutex> hold(lock_);
    SetWindowTextA(status_, statusText_.c_str());
}

LRESULT PendantWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case kWheelTurned:
        repeater_.turnWheel(static_cast<int>(wParam));
        return 0;
    case kDisplayChanged:
        showDisplay();
        return 0;
    case kStatusChanged:
        showStatus();
        return 0;
    case WM_TIMER:
        if (wParam == kHeldCheckTimer) letGoOfKeysNoLongerDown();
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK PendantWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<PendantWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PendantWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self || !self->window_) return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK PendantWindow::keyButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(buttonClassProc, button, message, wParam, lParam);
    const int id = GetDlgCtrlID(button);
    auto* self = reinterpret_cast<PendantWindow*>(GetWindowLongPtrA(GetParent(button), GWLP_USERDATA));
    if (!self || !isKeyCode(id)) return result;
    const BYTE code = static_cast<BYTE>(id - kKeyIdBase);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The key state is the physical button's: swapped for a left hand.
        self->press(code, GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON);
        break;
    case WM_LBUTTONUP:
        self->release(code);
        break;
    default:
        break;
    }
    return result;
}

}  // namespace virtual_pendant
