#include "standin/ncstudio/override_slider.h"

#include <commctrl.h>

#include "standin/ncstudio/window_subclass.h"

namespace standin {
namespace {

constexpr const char* kPreviousProc = "StandinSliderPreviousProc";

LRESULT CALLBACK focusOnClickProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        SetFocus(slider);
        return 0;
    }
    if (message == WM_LBUTTONUP) return 0;
    return callReplaced(kPreviousProc, slider, message, wParam, lParam);
}

}  // namespace

HWND overrideSlider(NcStudioBuilder& builder, HWND panel, int max, int position) {
    HWND slider = nullptr;
    builder.host().invoke([&] {
        slider = CreateWindowExA(0, TRACKBAR_CLASSA, "Slider1", WS_CHILD | WS_VISIBLE | TBS_HORZ, 0, 0, 120, 20,
                                 panel, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(slider, TBM_SETRANGEMAX, TRUE, max);
        SendMessageA(slider, TBM_SETPOS, TRUE, position);
        subclassWindow(slider, focusOnClickProc, kPreviousProc);
        builder.host().record(slider);
    });
    return slider;
}

}  // namespace standin
