#include "standin/virtual_pendant/jog_wheel_view.h"

#include <windowsx.h>

#include <cmath>

namespace virtual_pendant {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Per wheel window: how far it has turned and the drag under way.
struct WheelState {
    int position = 0;          // counts since it was made, for the drawing
    bool dragging = false;
    double dragAngle = 0;      // degrees, where the pointer was last counted
    int notchRemainder = 0;    // mouse wheel delta not yet a whole notch
};

WheelState& stateOf(HWND window) {
    return *reinterpret_cast<WheelState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The pointer's angle round the wheel's centre, clockwise on the screen.
double angleOf(HWND window, POINT point) {
    RECT area;
    GetClientRect(window, &area);
    return std::atan2(point.y - area.bottom / 2.0, point.x - area.right / 2.0) * 180.0 / kPi;
}

void paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    const int size = area.right < area.bottom ? area.right : area.bottom;
    const int cx = area.right / 2, cy = area.bottom / 2, radius = size / 2 - 4;

    HBRUSH rim = CreateSolidBrush(RGB(70, 70, 76));
    HGDIOBJ oldBrush = SelectObject(dc, rim);
    Ellipse(dc, cx - radius, cy - radius, cx + radius, cy + radius);
    HBRUSH face = CreateSolidBrush(RGB(150, 150, 158));
    SelectObject(dc, face);
    const int inner = radius * 3 / 4;
    Ellipse(dc, cx - inner, cy - inner, cx + inner, cy + inner);

    // The finger dimple turns with the wheel.
    const double angle = (stateOf(window).position * kDegreesPerCount - 90.0) * kPi / 180.0;
    const int dx = static_cast<int>(std::cos(angle) * inner * 0.65);
    const int dy = static_cast<int>(std::sin(angle) * inner * 0.65);
    const int dimple = radius / 7;
    HBRUSH dark = CreateSolidBrush(RGB(40, 40, 44));
    SelectObject(dc, dark);
    Ellipse(dc, cx + dx - dimple, cy + dy - dimple, cx + dx + dimple, cy + dy + dimple);

    SelectObject(dc, oldBrush);
    DeleteObject(rim);
    DeleteObject(face);
    DeleteObject(dark);
    EndPaint(window, &ps);
}

LRESULT CALLBACK wheelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new WheelState));
        return 0;
    case WM_NCDESTROY:
        delete &stateOf(window);
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_MOUSEWHEEL: {
        WheelState& state = stateOf(window);
        state.notchRemainder += GET_WHEEL_DELTA_WPARAM(wParam);
        const int counts = state.notchRemainder / WHEEL_DELTA;
        state.notchRemainder -= counts * WHEEL_DELTA;
        if (counts != 0) turnJogWheel(window, counts);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        WheelState& state = stateOf(window);
        SetCapture(window);
        state.dragging = true;
        state.dragAngle = angleOf(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    }
    case WM_MOUSEMOVE: {
        WheelState& state = stateOf(window);
        if (!state.dragging) return 0;
        const double angle = angleOf(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        double turned = angle - state.dragAngle;
        if (turned > 180) turned -= 360;
        if (turned < -180) turned += 360;
        const int counts = static_cast<int>(turned / kDegreesPerCount);
        if (counts != 0) {
            state.dragAngle += counts * kDegreesPerCount;
            turnJogWheel(window, counts);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        stateOf(window).dragging = false;
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

const char* jogWheelViewClass(HINSTANCE instance) {
    static const char* name = nullptr;
    if (!name) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = wheelProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_HAND);
        windowClass.lpszClassName = "WheelpadPendantJogWheel";
        if (RegisterClassA(&windowClass)) name = windowClass.lpszClassName;
    }
    return name;
}

void turnJogWheel(HWND wheel, int counts) {
    stateOf(wheel).position += counts;
    InvalidateRect(wheel, nullptr, FALSE);
    SendMessageA(GetParent(wheel), kWheelTurned, static_cast<WPARAM>(counts), 0);
}

}  // namespace virtual_pendant
