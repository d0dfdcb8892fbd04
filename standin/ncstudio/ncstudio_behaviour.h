#pragma once
// What the stand-in NcStudio does with the actions that reach its windows, as
// far as the driver can see: the jog buttons move the axes (one step per
// click, or at a steady speed while held in continuous mode), the step radios
// select the step, the ON/OFF button switches, F9 starts, Pause and F2 pause
// and F11 stops a program (generation 1 also by its toolbar commands), the
// menu and Ctrl+Home open the jog-adjust window and the back-to-reference
// dialog, the "Feedrate" dialog sets the feed, and prompts take their
// answers. Every action and every change it shows is logged. Runs on the
// host thread.
#include <windows.h>

#include <functional>
#include <string>

#include "standin/ncstudio/action_log.h"
#include "standin/ncstudio/machine.h"
#include "standin/ncstudio/ncstudio_windows.h"

namespace standin {

class NcStudioBehaviour {
public:
    // `visible`: dialogs are shown when they open. `onClose` runs when the
    // main window is asked to close.
    NcStudioBehaviour(NcStudioBuilder& builder, NcStudioWindows& windows, Machine& machine, ActionLog& log,
                      bool visible, std::function<void()> onClose);

    // The reaction to one message from outside (HostThread::Reaction).
    bool react(const Received& received);

    // Things that happen inside NcStudio without the driver: a prompt is
    // shown, the emergency stop is pressed, the main window comes to the
    // front.
    void showPrompt(const std::string& message);
    void emergencyStop();
    void comeToFront();

private:
    static void CALLBACK jogTimer(HWND window, UINT, UINT_PTR, DWORD);

    bool reactOnMainWindow(const Received& r);
    bool reactOnButtons(const Received& r);
    bool reactOnDialog(const Received& r);
    void click(HWND button);

    void startJog(int button);
    void stopJog();
    void step(int axis, int direction, long microns);
    void selectStep(int index);
    void toggleOnOff();
    void start();
    void pause();
    void stop();
    void openJiggle();
    void openHoming();
    void home(int axisMask);
    void applyFeedrate();
    void closeDialog(HWND& dialog);

    void showCoordinates();
    void showRunState();
    void setText(HWND window, const std::string& text);
    void say(const std::string& text) { log_.write(text); }

    NcStudioBuilder& builder_;
    NcStudioWindows& w_;
    Machine& machine_;
    ActionLog& log_;
    const bool visible_;
    std::function<void()> onClose_;

    HWND pressed_ = nullptr;      // the button the mouse button went down on
    bool menuOpen_ = false;       // Alt+O opened the menu: the next letter picks
    HWND jiggle_ = nullptr;
    HWND homing_ = nullptr;
    HWND prompt_ = nullptr;
    bool onOff_ = false;
    int feed_ = 1500;
};

}  // namespace standin
