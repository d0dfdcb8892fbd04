#pragma once
// NcStudio's menu entry for its parameters: Alt+'O' and then 'R' to the main
// window open the parameters window ("paramters") in NcStudio's own process,
// listing the parameters set last. Runs on the host thread.
#include <windows.h>

#include <vector>

#include "standin/ncstudio/action_log.h"
#include "standin/ncstudio/host_thread.h"
#include "standin/ncstudio/parameters_window.h"

namespace standin {

class ParametersMenu {
public:
    // `visible`: the window is shown when it opens.
    ParametersMenu(HostThread& host, HWND main, ActionLog& log, bool visible);

    void setParameters(std::vector<Parameter> parameters) { parameters_ = std::move(parameters); }

    // Watches what reaches the main window (HostThread::Reaction); never
    // takes a message from the window.
    bool react(const Received& received);

private:
    HostThread& host_;
    HWND main_;
    ActionLog& log_;
    bool visible_;
    bool menuOpen_ = false;
    std::vector<Parameter> parameters_;
};

}  // namespace standin
