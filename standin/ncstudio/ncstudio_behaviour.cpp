#include "standin/ncstudio/ncstudio_behaviour.h"

#include <cstdlib>

namespace standin {
namespace {

constexpr UINT_PTR kJogTimerId = 1;
constexpr UINT kJogTimerPeriodMs = 100;
constexpr const char* kBehaviourProp = "StandinBehaviour";
constexpr long kJiggleStepMicrons = 100;  // the jog-adjust window's "0.10mm"
constexpr int kStopCommandId = 32829;     // generation 1 toolbar commands
constexpr int kPauseCommandId = 32821;
constexpr int kAllAxes = 7;

const char* const kAxisNames = "XYZ";

bool isOneOf(HWND window, const HWND* windows, int count, int& index) {
    for (index = 0; index < count; ++index)
        if (windows[index] && windows[index] == window) return true;
    return false;
}

std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

NcStudioBehaviour::NcStudioBehaviour(NcStudioBuilder& builder, NcStudioWindows& windows, Machine& machine,
                                     ActionLog& log, bool visible, std::function<void()> onClose)
    : builder_(builder), w_(windows), machine_(machine), log_(log), visible_(visible), onClose_(std::move(onClose)) {
    builder_.host().invoke([this] { SetPropA(w_.main, kBehaviourProp, this); });
}

bool NcStudioBehaviour::react(const Received& r) {
    say("received: " + describeAction(r, r.window == w_.main ? "main window" : "window"));
    if (r.window == w_.main) return reactOnMainWindow(r);
    if (r.window == w_.controlBar && r.message == WM_COMMAND) {
        if (LOWORD(r.wParam) == kStopCommandId) stop();
        if (LOWORD(r.wParam) == kPauseCommandId) pause();
        return false;
    }
    if (reactOnDialog(r)) return true;
    return reactOnButtons(r);
}

bool NcStudioBehaviour::reactOnMainWindow(const Received& r) {
    if (r.message == WM_CLOSE) {
        say("main window closed: NcStudio ends");
        onClose_();
        return true;
    }
    if (r.message == WM_SYSKEYDOWN) {
        menuOpen_ = r.wParam == 'O';
        return false;
    }
    if (r.message != WM_KEYDOWN) return false;
    const bool menuLetter = menuOpen_;
    menuOpen_ = false;
    switch (r.wParam) {
    case VK_F9: start(); break;
    case VK_PAUSE: case VK_F2: pause(); break;
    case VK_F11: stop(); break;
    case VK_HOME:
        if (r.controlDown) openHoming();
        break;
    case 'N':
        if (menuLetter) openHoming();
        break;
    case 'J':
        if (menuLetter) openJiggle();
        break;
    default:
        break;
    }
    return false;
}

bool NcStudioBehaviour::reactOnButtons(const Received& r) {
    switch (r.message) {
    case BM_CLICK:
        click(r.window);
        return false;
    case WM_LBUTTONDOWN: {
        pressed_ = r.window;
        int button;
        if (isOneOf(r.window, w_.jogButtons, 2 * kAxisCount, button) && machine_.stepIndex() == 0) startJog(button);
        return false;
    }
    case WM_LBUTTONUP: {
        if (r.window != pressed_) return false;
        pressed_ = nullptr;
        int button;
        if (isOneOf(r.window, w_.jogButtons, 2 * kAxisCount, button) && machine_.jogging()) stopJog();
        else click(r.window);
        return false;
    }
    default:
        return false;
    }
}

void NcStudioBehaviour::click(HWND button) {
    int index;
    if (isOneOf(button, w_.jogButtons, 2 * kAxisCount, index)) {
        if (machine_.stepIndex() != 0) step(index / 2, index % 2 ? 1 : -1, kStepMicrons[machine_.stepIndex()]);
    } else if (isOneOf(button, w_.stepButtons, kStepCount, index)) {
        if (IsWindowEnabled(button)) selectStep(index);
    } else if (button == w_.panel.onOff) {
        toggleOnOff();
    }
}

bool NcStudioBehaviour::reactOnDialog(const Received& r) {
    const HWND dialog = GetAncestor(r.window, GA_ROOT);
    const bool closing = r.message == WM_CLOSE && r.window == dialog;
    if (w_.generation == 2 && dialog == w_.feedrate.dialog) {
        if (r.message == WM_COMMAND && LOWORD(r.wParam) == IDOK) applyFeedrate();
        if (closing || (r.message == WM_COMMAND && (LOWORD(r.wParam) == IDOK || LOWORD(r.wParam) == IDCANCEL))) {
            if (IsWindowVisible(dialog)) {
                ShowWindow(dialog, SW_HIDE);
                say("\"Feedrate\" closed");
            }
            return true;
        }
        return false;
    }
    if (jiggle_ && dialog == jiggle_) {
        HWND buttons[2 * kAxisCount];
        for (int i = 0; i < 2 * kAxisCount; ++i) buttons[i] = FindWindowExA(jiggle_, nullptr, nullptr, kJogCaptions[i]);
        int index;
        if (r.message == BM_CLICK && isOneOf(r.window, buttons, 2 * kAxisCount, index))
            step(index / 2, index % 2 ? 1 : -1, kJiggleStepMicrons);
        if (closing || (r.message == WM_KEYDOWN && r.wParam == VK_RETURN) ||
            (r.message == WM_COMMAND && (LOWORD(r.wParam) == IDOK || LOWORD(r.wParam) == IDCANCEL))) {
            closeDialog(jiggle_);
            return true;
        }
        return false;
    }
    if (homing_ && dialog == homing_) {
        const std::string caption = textOf(r.window);
        if (r.message == BM_CLICK || (r.message == WM_KEYDOWN && r.wParam == VK_RETURN)) {
            int axes = kAllAxes;
            for (int axis = 0; axis < kAxisCount; ++axis)
                if (r.message == BM_CLICK && caption == std::string("&") + kAxisNames[axis] + " Axis") axes = 1 << axis;
            home(axes);
            closeDialog(homing_);
            return true;
        }
        if (closing) {
            closeDialog(homing_);
            return true;
        }
        return false;
    }
    if (prompt_ && dialog == prompt_) {
        const char* answer = nullptr;
        if (r.message == WM_COMMAND) {
            switch (LOWORD(r.wParam)) {
            case IDYES: answer = "Yes"; break;
            case IDNO: answer = "No"; break;
            case IDOK: answer = "OK"; break;
            case IDCANCEL: answer = "Cancel"; break;
            default: break;
            }
        }
        if (r.message == WM_KEYDOWN && r.wParam == VK_RETURN) answer = "Yes";
        if (closing) answer = "Cancel";
        if (!answer) return false;
        say(std::string("prompt answered: ") + answer);
        closeDialog(prompt_);
        return true;
    }
    return false;
}

void NcStudioBehaviour::startJog(int button) {
    const int axis = button / 2;
    if (!machine_.startJog(axis, button % 2 ? 1 : -1, GetTickCount())) return;
    say(std::string("jogging ") + kAxisNames[axis] + (button % 2 ? "+" : "-"));
    showRunState();
    SetTimer(w_.main, kJogTimerId, kJogTimerPeriodMs, jogTimer);
}

void CALLBACK NcStudioBehaviour::jogTimer(HWND window, UINT, UINT_PTR, DWORD) {
    auto* self = static_cast<NcStudioBehaviour*>(GetPropA(window, kBehaviourProp));
    if (!self) return;
    HostThread::asOwnDoing([self] {
        self->machine_.update(GetTickCount());
        self->showCoordinates();
    });
}

void NcStudioBehaviour::stopJog() {
    const int axis = machine_.jogAxis();
    KillTimer(w_.main, kJogTimerId);
    machine_.stopJog(GetTickCount());
    showCoordinates();
    say(std::string("jog ended: ") + kAxisNames[axis] + " " + millimetres(machine_.work(axis)));
    showRunState();
}

void NcStudioBehaviour::step(int axis, int direction, long microns) {
    if (!machine_.moveBy(axis, direction * microns)) return;
    showCoordinates();
}

void NcStudioBehaviour::selectStep(int index) {
    if (!machine_.selectStep(index)) return;
    for (int i = 0; i < kStepCount; ++i)
        SendMessageA(w_.stepButtons[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    say("step: " + textOf(w_.stepButtons[index]));
}

void NcStudioBehaviour::toggleOnOff() {
    onOff_ = !onOff_;
    setText(w_.panel.onOff, onOff_ ? "ON" : "OFF");
    say(std::string("ON/OFF: ") + (onOff_ ? "ON" : "OFF"));
}

void NcStudioBehaviour::start() {
    if (machine_.jogging()) stopJog();
    if (machine_.start()) showRunState();
}

void NcStudioBehaviour::pause() {
    if (machine_.pause()) showRunState();
}

void NcStudioBehaviour::stop() {
    if (machine_.stop()) showRunState();
}

void NcStudioBehaviour::emergencyStop() {
    machine_.emergencyStop(GetTickCount());
    KillTimer(w_.main, kJogTimerId);
    showCoordinates();
    showRunState();
}

void NcStudioBehaviour::showRunState() {
    // The status shows a continuous jog as running, as it shows a program.
    const RunState state = machine_.jogging() ? RunState::Running : machine_.runState();
    setText(w_.runState, kRunStateWords[static_cast<int>(state)]);
    // Manual jogging is not possible while a program runs or pauses: the
    // step buttons are disabled then.
    for (HWND button : w_.stepButtons) EnableWindow(button, machine_.manualAllowed());
    if (w_.generation == 1)
        setText(w_.panel.overrideTexts[w_.overrides.feedIndex],
                machine_.runState() == RunState::Running ? std::to_string(feed_) : "0");
    say(std::string("run state: ") + kRunStateWords[static_cast<int>(state)]);
}

void NcStudioBehaviour::showCoordinates() {
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const std::string work = millimetres(machine_.work(axis));
        if (textOf(w_.panel.workCoordinates[axis]) == work) continue;
        setText(w_.panel.workCoordinates[axis], work);
        setText(w_.panel.machineCoordinates[axis], millimetres(machine_.machine(axis)));
        say(std::string(1, kAxisNames[axis]) + ": " + work + " (machine " + millimetres(machine_.machine(axis)) + ")");
    }
}

void NcStudioBehaviour::openJiggle() {
    if (jiggle_) return;
    jiggle_ = buildJiggleWindow(builder_, "0.10mm");
    bringToFront(jiggle_, visible_);
    say("\"Jiggle\" window opened");
}

void NcStudioBehaviour::openHoming() {
    if (homing_ || !machine_.manualAllowed()) return;
    homing_ = buildHomingDialog(builder_);
    bringToFront(homing_, visible_);
    say("back-to-reference dialog opened");
}

void NcStudioBehaviour::home(int axisMask) {
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (!(axisMask & (1 << axis)) || !machine_.home(axis)) continue;
        say(std::string("back to reference: ") + kAxisNames[axis]);
    }
    showCoordinates();
}

void NcStudioBehaviour::applyFeedrate() {
    char text[64] = {};
    GetWindowTextA(w_.feedrate.feedEdit, text, sizeof text);
    feed_ = static_cast<int>(std::atof(text) + 0.5);
    setText(w_.panel.overrideTexts[w_.overrides.feedIndex], std::to_string(feed_));
    say("feed set: " + std::to_string(feed_));
}

void NcStudioBehaviour::showPrompt(const std::string& message) {
    if (prompt_) return;
    prompt_ = buildPrompt(builder_, message);
    bringToFront(prompt_, visible_);
    say("prompt shown: " + message);
}

void NcStudioBehaviour::comeToFront() {
    bringToFront(w_.main, visible_);
    say("main window in front");
}

void NcStudioBehaviour::closeDialog(HWND& dialog) {
    const std::string title = textOf(dialog);
    DestroyWindow(dialog);
    dialog = nullptr;
    say("\"" + title + "\" closed");
    if (visible_) SetForegroundWindow(w_.main);
}

void NcStudioBehaviour::setText(HWND window, const std::string& text) {
    HostThread::asOwnDoing([&] { SetWindowTextA(window, text.c_str()); });
}

}  // namespace standin
