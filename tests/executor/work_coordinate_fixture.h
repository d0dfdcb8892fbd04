#pragma once
// A coordinate panel with NcStudio's dialog for setting the work coordinate
// behind its work-coordinate buttons, and the machine coordinates read as the
// status poller reads them.
#include <memory>
#include <string>

#include "executor_fixture.h"
#include "standin/ncstudio/work_coordinate_dialogs.h"

namespace executor_testing {

class WorkCoordinateFixture : public ExecutorFixture {
protected:
    // Work coordinates X, Y, Z shown and machine coordinates; in generation 2
    // the dialog opens with the public offsets given.
    void coordinates(int generation, const std::vector<std::string>& work = {"0.000", "0.000", "0.000"},
                     const std::vector<std::string>& machine = {"0.000", "0.000", "0.000"},
                     const double (&publicOffset)[3] = {},
                     standin::OffsetLayout layout = standin::OffsetLayout::WithPublicOffsetLabel) {
        block().hostGeneration = generation;
        standin::CoordinatePanelTexts texts;
        for (int axis = 0; axis < 3; ++axis) texts.workCoordinates[axis] = work[axis];
        texts.machineCoordinates = machine;
        panel = generation == 1 ? ncstudio.coordinatePanelGeneration1(main, texts)
                                : ncstudio.coordinatePanelGeneration2(main, texts);
        dialogs = std::make_unique<standin::WorkCoordinateDialogs>(ncstudio, panel, generation, layout);
        dialogs->setPublicOffsets(publicOffset);
        char location[1024];
        GetAxisLocation(location);
        forgetHistory();
    }

    std::string shown(int axis) const {
        char text[64] = {};
        GetWindowTextA(panel.workCoordinates[axis], text, sizeof text);
        return text;
    }

    // A right-click on a coordinate button at `time`.
    Deliveries rightClick(HWND button, DWORD time) const {
        return {{button, WM_RBUTTONDOWN, MK_RBUTTON, time}, {button, WM_RBUTTONUP, 0, time}};
    }

    // The texts of the dialog's edits when OK reached it.
    std::vector<std::string> confirmed() const { return dialogs->confirmedEdits(); }

    standin::CoordinatePanelWindows panel;
    std::unique_ptr<standin::WorkCoordinateDialogs> dialogs;
};

}  // namespace executor_testing
