#pragma once
// The stand-in NcStudio the link benchmark polls: generation 2, with all
// that the status readers look at, and the X axis coordinate in its panel.
#include <windows.h>

#include "standin/ncstudio/ncstudio_builder.h"

namespace bench {

inline HWND buildBenchNcStudio(standin::NcStudioBuilder& ncstudio) {
    HWND main = ncstudio.mainWindow("NcStudio");
    standin::CoordinatePanelTexts texts;
    texts.workCoordinates[0] = "-1234.567";
    texts.overrideTexts = {"100%", "0", "2000", "24000", "80%"};
    ncstudio.coordinatePanelGeneration2(main, texts);
    ncstudio.standardManualButtons(ncstudio.manualPage(main), standin::StepCaptions::Reading, 4);
    ncstudio.statusDialog(main, "IDLE");
    return main;
}

}  // namespace bench
