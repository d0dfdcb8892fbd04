#pragma once
// NcStudio's parameters window: a top-level window titled "paramters" (sic)
// holding a list view (SysListView32, report view) with the columns "No.",
// "Name" and "Value", one row per parameter. WM_CLOSE destroys it.
#include <windows.h>

#include <string>
#include <vector>

namespace standin {

struct Parameter {
    std::string name;
    std::string value;
};

// The parameters as NcStudio lists them: filler parameters in rows 0 to 39,
// and at `safeHeightRow` (-1: nowhere) "SafeHeight" with `safeHeight`.
std::vector<Parameter> parameterList(int safeHeightRow, const std::string& safeHeight);

// Creates the window, hidden, on the calling thread.
HWND createParametersWindow(const std::vector<Parameter>& parameters);

}  // namespace standin
