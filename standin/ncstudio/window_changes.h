#pragma once
// Changes to NcStudio's windows as a user sees them happen while it runs: texts
// and check states change, panels are undocked and docked again (their
// controls move to another parent), controls come, go, move in the child
// order, hide and show, are enabled and disabled, change their control id,
// panels are destroyed and re-created, prompts and dialogs open and close.
// The driver must read each changed layout as if it saw it the first time.
#include <windows.h>

#include <random>
#include <string>

#include "standin/ncstudio/ncstudio_builder.h"
#include "standin/ncstudio/ncstudio_windows.h"

namespace standin {

class WindowChanges {
public:
    WindowChanges(NcStudioBuilder& builder, NcStudioWindows& windows);

    // Makes one random change, chosen by `seed`, on the host thread; returns
    // what it did.
    std::string apply(unsigned seed);

private:
    std::string changeText(HWND parent);
    std::string changeCheck();
    std::string insert(HWND parent);
    std::string move(HWND parent);
    std::string destroyChild(HWND parent);
    std::string recreatePanel();
    std::string changeId();
    std::string toggleDialog();

    HWND anyParent();
    HWND anyChild(HWND parent);
    HWND anyPlaceIn(HWND parent);
    const std::string& anyText();

    NcStudioBuilder& builder_;
    NcStudioWindows& w_;
    std::mt19937 random_;
    HWND statusDialog_;
    HWND openDialog_ = nullptr;
};

}  // namespace standin
