#include "standin/virtual_pendant/lcd_view.h"

#include <string>

namespace virtual_pendant {

namespace {

const COLORREF kGlass = RGB(168, 192, 112);
const COLORREF kInk = RGB(24, 36, 12);
const COLORREF kBezel = RGB(48, 48, 48);
constexpr int kBezelWidth = 6;

std::string windowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

// A fixed-pitch face with Chinese glyphs, sized so that four lines fill the glass.
HFONT makeFont(int lineHeight) {
    return CreateFontA(-(lineHeight * 4 / 5), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, FIXED_PITCH | FF_MODERN,
                       "NSimSun");
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT area;
    GetClientRect(window, &area);
    HBRUSH bezel = CreateSolidBrush(kBezel);
    FillRect(dc, &area, bezel);
    DeleteObject(bezel);
    InflateRect(&area, -kBezelWidth, -kBezelWidth);
    HBRUSH glass = CreateSolidBrush(kGlass);
    FillRect(dc, &area, glass);
    DeleteObject(glass);

    const int lineHeight = (area.bottom - area.top - 8) / 4;
    HFONT font = makeFont(lineHeight);
    HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kInk);
    const std::string text = windowText(window);
    int row = 0;
    for (size_t start = 0; start < text.size() && row < 4; ++row) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        TextOutA(dc, area.left + 8, area.top + 4 + row * lineHeight, text.c_str() + start,
                 static_cast<int>(end - start));
        start = end + 1;
    }
    SelectObject(dc, previous);
    DeleteObject(font);
    EndPaint(window, &ps);
}

LRESULT CALLBACK lcdProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

const char* lcdViewClass(HINSTANCE instance) {
    static const char* name = nullptr;
    if (!name) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = lcdProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "WheelpadPendantLcd";
        if (RegisterClassA(&windowClass)) name = windowClass.lpszClassName;
    }
    return name;
}

}  // namespace virtual_pendant
