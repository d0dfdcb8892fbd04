// NcStudio's parameters window in a process of its own, so that the driver
// reads its list view across the process boundary as it reads NcStudio's.
//
//   ncstudio_parameters SAFE_HEIGHT_ROW SAFE_HEIGHT
//
// SAFE_HEIGHT_ROW -1 lists no "SafeHeight" row. The program ends when the
// window is closed.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "standin/ncstudio/parameters_window.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HWND window = standin::createParametersWindow(standin::parameterList(std::atoi(argv[1]), argv[2]));
    if (!window) return 1;
    MSG msg;
    while (IsWindow(window) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
