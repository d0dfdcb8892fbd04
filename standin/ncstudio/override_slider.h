#pragma once
// One of NcStudio's override sliders: a trackbar of the coordinate panel
// with its range and position. A click on it only gives it the focus (the
// driver clicks its left end to focus it before sending arrow keys), so that
// its position changes by the keys and TBM_SETPOS alone.
#include <windows.h>

#include "standin/ncstudio/ncstudio_builder.h"

namespace standin {

HWND overrideSlider(NcStudioBuilder& builder, HWND panel, int max, int position);

}  // namespace standin
