#include "standin/ncstudio/parameters_menu.h"

#include "standin/ncstudio/ncstudio_windows.h"

namespace standin {
namespace {

constexpr int kSafeHeightRow = 23;

}  // namespace

ParametersMenu::ParametersMenu(HostThread& host, HWND main, ActionLog& log, bool visible)
    : host_(host), main_(main), log_(log), visible_(visible), parameters_(parameterList(kSafeHeightRow, "25.000")) {}

bool ParametersMenu::react(const Received& r) {
    if (r.window != main_) return false;
    if (r.message == WM_SYSKEYDOWN) {
        menuOpen_ = r.wParam == 'O';
    } else if (r.message == WM_KEYDOWN) {
        const bool open = menuOpen_ && r.wParam == 'R' && !FindWindowA(nullptr, "paramters");
        menuOpen_ = false;
        if (open) {
            HWND window = createParametersWindow(parameters_);
            host_.record(window);
            bringToFront(window, visible_);
            log_.write("\"paramters\" opened");
        }
    }
    return false;
}

}  // namespace standin
