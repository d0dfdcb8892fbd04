#include "standin/ncstudio/work_coordinate_dialogs.h"

#include <cstdio>
#include <cstdlib>

namespace standin {
namespace {

constexpr const char* kOwnerProp = "StandinWorkCoordinateDialogs";

std::string textOf(HWND window) {
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string formatted(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

double numberIn(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

WorkCoordinateDialogs* ownerOf(HWND window) {
    return static_cast<WorkCoordinateDialogs*>(GetPropA(window, kOwnerProp));
}

}  // namespace

HWND safeHeightPage(NcStudioBuilder& builder, HWND manualPage, const std::string& safeHeight) {
    constexpr int kSafeHeightGroupId = 4643;
    HWND page = builder.child(GetParent(manualPage), {"#32770", "", 0, 0});
    HWND group = builder.child(page, {"Button", "Machining", kSafeHeightGroupId, BS_GROUPBOX});
    builder.label(group, "Feed Height is");
    builder.edit(group, "5.000");
    builder.label(group, "Safe Height is");
    return builder.edit(group, safeHeight);
}

WorkCoordinateDialogs::WorkCoordinateDialogs(NcStudioBuilder& builder, const CoordinatePanelWindows& panel,
                                             int generation, OffsetLayout layout, Apply apply)
    : builder_(builder), panel_(panel), generation_(generation), layout_(layout), apply_(std::move(apply)) {
    if (!apply_)
        apply_ = [this](int axis, double work) {
            SetWindowTextA(panel_.workCoordinates[axis], formatted(work).c_str());
        };
    builder_.host().invoke([this] {
        for (int axis = 0; axis < 3; ++axis) {
            HWND button = panel_.workCoordinates[axis];
            SetPropA(button, kOwnerProp, this);
            buttonPrevious_[axis] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc)));
        }
    });
}

WorkCoordinateDialogs::~WorkCoordinateDialogs() {
    builder_.host().invoke([this] {
        closeDialog();
        for (int axis = 0; axis < 3; ++axis) {
            HWND button = panel_.workCoordinates[axis];
            if (!IsWindow(button)) continue;
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonPrevious_[axis]));
            RemovePropA(button, kOwnerProp);
        }
    });
}

void WorkCoordinateDialogs::setPublicOffsets(const double (&publicOffset)[3]) {
    builder_.host().invoke([&] {
        for (int axis = 0; axis < 3; ++axis) publicOffset_[axis] = publicOffset[axis];
    });
}

std::vector<HWND> WorkCoordinateDialogs::edits() const {
    std::vector<HWND> edits;
    builder_.host().invoke([&] { edits = edits_; });
    return edits;
}

std::vector<std::string> WorkCoordinateDialogs::confirmedEdits() const {
    std::vector<std::string> confirmed;
    builder_.host().invoke([&] { confirmed = confirmed_; });
    return confirmed;
}

int WorkCoordinateDialogs::opened() const {
    int opened = 0;
    builder_.host().invoke([&] { opened = opened_; });
    return opened;
}

LRESULT CALLBACK WorkCoordinateDialogs::buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    WorkCoordinateDialogs* self = ownerOf(button);
    WNDPROC previous = nullptr;
    for (int axis = 0; axis < 3; ++axis)
        if (self->panel_.workCoordinates[axis] == button) previous = self->buttonPrevious_[axis];
    LRESULT result = CallWindowProcA(previous, button, message, wParam, lParam);
    if (message == WM_RBUTTONUP) self->open();
    return result;
}

LRESULT CALLBACK WorkCoordinateDialogs::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WorkCoordinateDialogs* self = ownerOf(dialog);
    LRESULT result = CallWindowProcA(self->dialogPrevious_, dialog, message, wParam, lParam);
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        self->apply();
        self->closeDialog();
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        self->closeDialog();
    }
    return result;
}

// Runs on the host thread. The dialog's windows are recorded after their
// handling is installed, so that what the dialog does itself in answer to
// a recorded message is not recorded again.
void WorkCoordinateDialogs::open() {
    if (dialog_) return;
    ++opened_;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const char* title = generation_ == 1 ? "Set current work coordinate:" : "Offset Setting";
    // The title comes last: a dialog found by it has all its controls.
    dialog_ = CreateWindowExA(0, "#32770", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, instance,
                              nullptr);
    SetPropA(dialog_, kOwnerProp, this);
    dialogPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogProc)));

    auto add = [&](const char* className, const std::string& text, int id) {
        const DWORD style = WS_CHILD | WS_VISIBLE | (std::string(className) == "Edit" ? ES_AUTOHSCROLL : 0);
        HWND control = CreateWindowExA(0, className, text.c_str(), style, 0, 0, 80, 20, dialog_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        builder_.host().record(control);
        if (std::string(className) == "Edit") edits_.push_back(control);
    };
    auto addEdits = [&](const std::string (&texts)[3]) {
        for (const std::string& text : texts) add("Edit", text, 0);
    };
    std::string work[3], publicTexts[3], offsetTexts[3];
    for (int axis = 0; axis < 3; ++axis) {
        work[axis] = textOf(panel_.workCoordinates[axis]);
        publicTexts[axis] = formatted(publicOffset_[axis]);
        offsetTexts[axis] = formatted(machine(axis) - publicOffset_[axis] - numberIn(work[axis]));
    }
    if (generation_ == 1) {
        add("Static", "Current work coordinate", 0);
        addEdits(work);
    } else if (layout_ == OffsetLayout::WithPublicOffsetLabel) {
        add("Static", "Public Offset", 0);
        addEdits(publicTexts);
        add("Static", "Workpiece Offset", 0);
        addEdits(offsetTexts);
    } else {
        add("Static", "Current", 0);
        addEdits(work);
        add("Static", "Workpiece Offset", 0);
        addEdits(offsetTexts);
        add("Static", "Common Offset", 0);
        addEdits(publicTexts);
    }
    add("Button", "OK", IDOK);
    add("Button", "Cancel", IDCANCEL);
    SetWindowTextA(dialog_, title);
    builder_.host().record(dialog_);
}

void WorkCoordinateDialogs::apply() {
    confirmed_.clear();
    for (HWND edit : edits_) confirmed_.push_back(textOf(edit));
    if (generation_ == 1) {
        for (int axis = 0; axis < 3; ++axis)
            if (!confirmed_[axis].empty()) apply_(axis, numberIn(confirmed_[axis]));
        return;
    }
    const bool labelled = layout_ == OffsetLayout::WithPublicOffsetLabel;
    for (int axis = 0; axis < 3; ++axis) {
        publicOffset_[axis] = numberIn(confirmed_[(labelled ? 0 : 6) + axis]);
        apply_(axis, machine(axis) - publicOffset_[axis] - numberIn(confirmed_[3 + axis]));
    }
}

void WorkCoordinateDialogs::closeDialog() {
    if (!dialog_) return;
    HWND dialog = dialog_;
    dialog_ = nullptr;
    edits_.clear();
    DestroyWindow(dialog);
}

double WorkCoordinateDialogs::machine(int axis) const {
    if (axis >= static_cast<int>(panel_.machineCoordinates.size())) return 0.0;
    return numberIn(textOf(panel_.machineCoordinates[axis]));
}

}  // namespace standin
