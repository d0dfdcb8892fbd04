#include "standin/ncstudio/parameters_window.h"

#include <commctrl.h>

#include "standin/ncstudio/window_subclass.h"

namespace standin {
namespace {

constexpr int kRows = 40;
constexpr const char* kPreviousProc = "StandinParametersPreviousProc";

// WM_CLOSE destroys the window, as NcStudio's parameters window closes.
LRESULT CALLBACK closingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return callReplaced(kPreviousProc, window, message, wParam, lParam);
}

void addColumn(HWND list, int index, const char* title) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<char*>(title);
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void setCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

std::vector<Parameter> parameterList(int safeHeightRow, const std::string& safeHeight) {
    std::vector<Parameter> parameters;
    for (int row = 0; row < kRows; ++row) {
        if (row == safeHeightRow)
            parameters.push_back({"SafeHeight", safeHeight});
        else
            parameters.push_back({"Parameter" + std::to_string(row), std::to_string(row * 10)});
    }
    return parameters;
}

HWND createParametersWindow(const std::vector<Parameter>& parameters) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The title comes last: a window found by it has its whole list.
    HWND window = CreateWindowExA(0, "#32770", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return nullptr;
    subclassWindow(window, closingProc, kPreviousProc);
    CreateWindowExA(0, "Static", "Parameters", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, window, nullptr, instance,
                    nullptr);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 20, 380, 260, window,
                                nullptr, instance, nullptr);
    addColumn(list, 0, "No.");
    addColumn(list, 1, "Name");
    addColumn(list, 2, "Value");
    for (size_t row = 0; row < parameters.size(); ++row) {
        const std::string number = std::to_string(row);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<char*>(number.c_str());
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        setCell(list, static_cast<int>(row), 1, parameters[row].name);
        setCell(list, static_cast<int>(row), 2, parameters[row].value);
    }
    SetWindowTextA(window, "paramters");
    return window;
}

}  // namespace standin
