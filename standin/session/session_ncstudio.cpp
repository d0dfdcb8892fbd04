#include "standin/session/session_ncstudio.h"

#include "app/bridge_binding.h"
#include "app/process_state.h"

namespace standin {

SessionNcStudio::SessionNcStudio(HostThread& host) : build(host) {
    main = build.mainWindow("NcStudio V9.0 - demo.nc");
    CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "12.500";
    texts.workCoordinates[1] = "-3.250";
    texts.workCoordinates[2] = "0.000";
    texts.machineCoordinates = {"112.500", "46.750", "-20.000"};
    texts.overrideTexts = {"100%", "0", "1500", "18000", "80%"};
    panel = build.coordinatePanelGeneration2(main, texts);
    manualPage = build.manualPage(main);
    build.standardManualButtons(manualPage, StepCaptions::Selection, 2);
    runState = build.statusDialog(main, "IDLE");
    build.controlBar(main);
    feedrate = build.feedrateDialog(panel.commandSetButton, "1500.000000", "3000.000000");
}

HWND SessionNcStudio::jogButton(const char* caption) const {
    return FindWindowExA(manualPage, nullptr, nullptr, caption);
}

bool bindNcStudio(HWND main, DWORD threadId) {
    app::callSetVer(1);
    if (!app::callUnHook()) return false;
    if (!app::callInstallhook(main)) return false;
    app::ProcessState& state = app::state();
    state.hostThreadId = threadId;
    state.hostProcessId = GetCurrentProcessId();
    app::callSetPcState(main, 0);
    state.hostFound = 1;
    app::callEnableMap(1);
    return true;
}

}  // namespace standin
