#include "standin/ncstudio/action_log.h"

#include <commctrl.h>

namespace standin {

bool ActionLog::open(const std::string& path) {
    if (path.empty()) return true;
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    file_ = file;
    return true;
}

ActionLog::~ActionLog() {
    if (file_ != stdout) std::fclose(file_);
}

namespace {

// NcStudio's texts are in the ANSI code page (Chinese in code page 936); the
// log is UTF-8, readable wherever it is shown.
std::string utf8(const std::string& ansi) {
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], wideLength);
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &text[0], length, nullptr, nullptr);
    return text;
}

}  // namespace

void ActionLog::write(const std::string& text) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string line = utf8(text);
    std::lock_guard<std::mutex> hold(lock_);
    std::fprintf(file_, "%02u:%02u:%02u.%03u %s\n", now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                 line.c_str());
    std::fflush(file_);
}

namespace {

std::string keyName(WPARAM key) {
    switch (key) {
    case VK_RETURN: return "Enter";
    case VK_SHIFT: return "Shift";
    case VK_CONTROL: return "Ctrl";
    case VK_PAUSE: return "Pause";
    case VK_HOME: return "Home";
    case VK_F2: return "F2";
    case VK_F7: return "F7";
    case VK_F9: return "F9";
    case VK_F11: return "F11";
    default:
        break;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    char text[16];
    std::snprintf(text, sizeof text, "key 0x%02X", static_cast<unsigned>(key));
    return text;
}

std::string number(unsigned long long value) { return std::to_string(value); }

// The text a WM_SETTEXT or EM_REPLACESEL carries (the log runs while the
// message is handled, so it is still there).
std::string textOf(LPARAM text) { return text ? reinterpret_cast<const char*>(text) : ""; }

}  // namespace

std::string describeAction(const Received& r, const std::string& windowName) {
    std::string where = r.text.empty() ? windowName : "\"" + r.text + "\"";
    std::string chord = r.controlDown ? "Ctrl+" : "";
    switch (r.message) {
    case WM_KEYDOWN: return "key down " + chord + keyName(r.wParam) + " to " + where;
    case WM_KEYUP: return "key up " + chord + keyName(r.wParam) + " to " + where;
    case WM_SYSKEYDOWN: return "key down Alt+" + keyName(r.wParam) + " to " + where;
    case WM_SYSKEYUP: return "key up Alt+" + keyName(r.wParam) + " to " + where;
    case WM_CHAR: return "character " + number(r.wParam) + " to " + where;
    case WM_COMMAND: return "command " + number(LOWORD(r.wParam)) + " to " + where;
    case WM_LBUTTONDOWN: return "mouse button down on " + where;
    case WM_LBUTTONUP: return "mouse button up on " + where;
    case WM_RBUTTONDOWN: return "right mouse button down on " + where;
    case WM_RBUTTONUP: return "right mouse button up on " + where;
    case WM_CLOSE: return "close " + where;
    case WM_SETTEXT: return "text set to \"" + textOf(r.lParam) + "\" on " + where;
    case WM_HSCROLL: case WM_VSCROLL: return "scroll on " + where;
    case BM_CLICK: return "click on " + where;
    case BM_SETCHECK: return "check set to " + number(r.wParam) + " on " + where;
    case BM_SETSTATE: return "pushed state set to " + number(r.wParam) + " on " + where;
    case EM_SETSEL: return "selection set in " + where;
    case EM_SCROLLCARET: return "caret scrolled in " + where;
    case EM_REPLACESEL: return "selection replaced by \"" + textOf(r.lParam) + "\" in " + where;
    case TBM_SETPOS: return "slider set to " + number(static_cast<unsigned long long>(r.lParam)) + " on " + where;
    default: return "message " + number(r.message) + " to " + where;
    }
}

}  // namespace standin
