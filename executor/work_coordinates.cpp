#include "executor/work_coordinates.h"

#include <cstdio>
#include <string>

#include "bridge/host_operations.h"
#include "bridge/host_windows.h"
#include "bridge/machine_coord_text.h"
#include "bridge/shared_block.h"
#include "executor/button_search.h"
#include "executor/coordinate_dialog.h"
#include "executor/executor_common.h"
#include "executor/safe_height.h"
#include "platform/support_log.h"

namespace executor {
namespace {

using bridge::SharedBlock;

constexpr int kAxisEditZ = 3;

// The n-th (0 X, 1 Y, 2 Z) "Button" child of the coordinate panel.
HWND coordinateButton(int index) {
    HWND panel = bridge::coordinatePanel();
    HWND button = bridge::nextChildOfClass(panel, nullptr, "Button");
    for (int i = 0; i < index && button; ++i) button = bridge::nextChildOfClass(panel, button, "Button");
    return button;
}

// The n-th (counted from 0) "Edit" child of a dialog.
HWND dialogEdit(HWND dialog, int index) {
    HWND edit = bridge::nextChildOfClass(dialog, nullptr, "Edit");
    for (int i = 0; i < index && edit; ++i) edit = bridge::nextChildOfClass(dialog, edit, "Edit");
    return edit;
}

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Generation 2: the machine coordinate of the axis as NcStudio shows it at
// this moment; false when it shows none. A copy from an earlier status poll
// may be stale, or empty and read as 0.
bool machineCoordinateNow(int axisIndex, double& machine) {
    if (!bridge::readMachineCoordinateNow(axisIndex)) return false;
    machine = bridge::parseNumber(bridge::machineCoordText[axisIndex]);
    return true;
}

// Generation 2: the offset that makes the axis's current work coordinate
// `wanted` at machine coordinate `machine`, written into the dialog's offset
// edit of that axis.
void writeOffsetFor(HWND dialog, int axisIndex, double machine, double wanted, const char* format) {
    HWND target = readOffsets(dialog, axisIndex + 1);
    if (!target) return;
    const double offset = machine - bridge::block().publicOffset[axisIndex] - wanted;
    platform::logEvent("offset of %c written: %f", static_cast<char>('X' + axisIndex), offset);
    bridge::writeEdit(target, formatted(format, offset).c_str());
}

void setZGeneration1(bool fromToolSetter) {
    const std::string height =
        fromToolSetter ? formatted("%f", bridge::block().toolSetterHeight) : safeHeightTextGeneration1();
    if (height.empty()) return;
    openCoordinateDialog();
    HWND dialog = waitForCoordinateDialog(CoordinateDialogTitles::Both);
    if (!dialog) return;
    if (HWND third = dialogEdit(dialog, 2)) bridge::writeEdit(third, height.c_str());
    confirmCoordinateDialog(dialog);
}

void setZGeneration2(bool fromToolSetter) {
    SharedBlock& b = bridge::block();
    double machineZ = 0.0;
    if (!machineCoordinateNow(kAxisEditZ - 1, machineZ))
        return platform::logEvent("Set Z skipped: NcStudio shows no machine coordinate of Z");
    // The tool-setter height is used for this command only: zBase keeps
    // NcStudio's safe height for the next Set Z by key 7.
    double height = b.toolSetterHeight;
    if (!fromToolSetter) {
        if (!b.safeHeightKnown) readSafeHeightFromParameters();
        // Without a safe height there is nothing to set Z to.
        if (!b.safeHeightKnown) return platform::logEvent("Set Z skipped: NcStudio's safe height is unknown");
        height = b.zBase;
    }
    openCoordinateDialog();
    HWND dialog = waitForCoordinateDialog(CoordinateDialogTitles::Both);
    if (!dialog) return;
    writeOffsetFor(dialog, kAxisEditZ - 1, machineZ, height, "%.4f");
    confirmCoordinateDialog(dialog);
}

}  // namespace

bool halfCoordinate(BYTE axisKnob) {
    if (axisKnob != bridge::kAxisX && axisKnob != bridge::kAxisY) return false;
    SharedBlock& b = bridge::block();
    if (b.hostMode >= kModeJiggle) return false;
    if (!machineIdle()) {
        platform::logEvent("halving: NcStudio was last seen busy, nothing done");
        return true;
    }
    const int axisIndex = axisKnob - bridge::kAxisX;
    HWND button = coordinateButton(axisIndex);
    if (!button) return false;
    const char* shown = bridge::readText(button);
    if (!*shown) return false;
    const double half = bridge::parseNumber(shown) * 0.5;
    double machine = 0.0;
    if (b.hostGeneration == 2 && !machineCoordinateNow(axisIndex, machine)) {
        platform::logEvent("halving %c: NcStudio shows no machine coordinate, nothing done",
                           static_cast<char>('X' + axisIndex));
        return false;
    }
    platform::logEvent("halving %c: %s to %f", static_cast<char>('X' + axisIndex), shown, half);
    rightClick(button);

    HWND dialog = nullptr;
    if (b.hostGeneration == 2) {
        dialog = waitForCoordinateDialog(CoordinateDialogTitles::Both);
        if (!dialog) return false;
        writeOffsetFor(dialog, axisIndex, machine, half, "%f");
    } else {
        dialog = waitForCoordinateDialog(axisIndex == 0 ? CoordinateDialogTitles::Both
                                                        : CoordinateDialogTitles::SetCoordinateOnly);
        if (!dialog) return false;
        if (HWND edit = dialogEdit(dialog, axisIndex)) bridge::writeEdit(edit, formatted("%f", half).c_str());
    }
    confirmCoordinateDialog(dialog);
    return false;
}

bool pressAxisButton(BYTE axisKnob) {
    if (!bridge::isJogAxis(axisKnob)) return false;
    if (!machineIdle()) return true;
    SharedBlock& b = bridge::block();
    const int axisIndex = axisKnob - bridge::kAxisX;
    if (b.hostMode == kModeHoming) {
        static const char* const kAxisCaptions[] = {"X Axis", "Y Axis", "Z Axis"};
        const char* wanted = kAxisCaptions[axisIndex];
        HWND button = firstButtonWhere(b.homingDialog,
                                       [wanted](const char* caption) { return bridge::contains(caption, wanted); });
        bridge::postTo(button, BM_CLICK, 0, 0);
    } else if (hostSettled()) {
        bridge::postTo(coordinateButton(axisIndex), BM_CLICK, 0, 0);
    }
    return false;
}

void setZCoordinate(bool fromToolSetter) {
    platform::logEvent("Set Z%s", fromToolSetter ? " from the tool setter" : " to the safe height");
    if (bridge::block().hostGeneration == 2)
        setZGeneration2(fromToolSetter);
    else
        setZGeneration1(fromToolSetter);
}

}  // namespace executor
