#pragma once
// NcStudio's dialogs for setting the work coordinate, behind the coordinate
// panel's work-coordinate buttons: a right-click on one opens the dialog
// (hidden, as the test windows are), and its OK applies the dialog to the work
// coordinates the panel shows and closes it.
//
// Generation 1: "Set current work coordinate:", one edit per axis holding the
// current work coordinate; OK makes the edits' values the work coordinates.
// Generation 2: "Offset Setting", the label "Public Offset" with the public
// offsets X, Y, Z, then the label "Workpiece Offset" with the axes' offsets;
// the offsets open as the panel shows them (machine - public offset - work
// coordinate); OK makes every work coordinate machine - public offset -
// offset, the machine coordinates taken from the panel's statics.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "standin/ncstudio/ncstudio_builder.h"

namespace standin {

enum class OffsetLayout {
    // The public offsets after the label "Public Offset", then the offsets.
    WithPublicOffsetLabel,
    // No such label: three edits of the current coordinates, the offsets,
    // then the public offsets.
    WithoutPublicOffsetLabel,
};

// Generation 1 shows the safe height on a page of the manual tabs after the
// manual page: a "#32770" page holding control 4643 with the label "Safe
// Height is" and the edit after it. Returns the edit.
HWND safeHeightPage(NcStudioBuilder& builder, HWND manualPage, const std::string& safeHeight);

class WorkCoordinateDialogs {
public:
    // What a confirmed dialog does with an axis's new work coordinate (in
    // millimetres); by default the panel's button shows it.
    using Apply = std::function<void(int axis, double work)>;

    // Installs the dialogs behind the panel's three work-coordinate buttons.
    WorkCoordinateDialogs(NcStudioBuilder& builder, const CoordinatePanelWindows& panel, int generation,
                          OffsetLayout layout = OffsetLayout::WithPublicOffsetLabel, Apply apply = {});
    ~WorkCoordinateDialogs();
    WorkCoordinateDialogs(const WorkCoordinateDialogs&) = delete;
    WorkCoordinateDialogs& operator=(const WorkCoordinateDialogs&) = delete;

    // Generation 2: the public offsets the dialog opens with (0 until set);
    // kept in step with the dialog's OK.
    void setPublicOffsets(const double (&publicOffset)[3]);

    // The dialog's edits in their child order while it is open.
    std::vector<HWND> edits() const;

    // The texts of the edits when OK last reached the dialog; empty before.
    std::vector<std::string> confirmedEdits() const;

    // How often a dialog was opened.
    int opened() const;

private:
    static LRESULT CALLBACK buttonProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK dialogProc(HWND, UINT, WPARAM, LPARAM);
    void open();
    void apply();
    void closeDialog();
    double machine(int axis) const;

    NcStudioBuilder& builder_;
    CoordinatePanelWindows panel_;
    int generation_;
    OffsetLayout layout_;
    double publicOffset_[3] = {};
    Apply apply_;
    HWND dialog_ = nullptr;
    std::vector<HWND> edits_;
    std::vector<std::string> confirmed_;
    int opened_ = 0;
    WNDPROC buttonPrevious_[3] = {};
    WNDPROC dialogPrevious_ = nullptr;
};

}  // namespace standin
