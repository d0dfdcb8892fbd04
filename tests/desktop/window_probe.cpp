// What the desktop rig cannot see in a picture: where a window of the desktop
// is and what a control shows. Runs in the rig's Wine prefix, beside the
// programs it looks at.
//
//   window_probe window TITLE       the window titled TITLE: "X Y W H"
//   window_probe control TITLE ID   its control ID: "X Y W H"
//   window_probe text TITLE ID      its control ID's text
//   window_probe menu               the open popup menu: "X Y W H"
//
// Exit code 1 when the window or control is not there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int printRect(HWND window) {
    RECT rect;
    if (!window || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) return 1;
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

HWND control(const char* title, const char* id) {
    HWND window = FindWindowA(nullptr, title);
    return window ? GetDlgItem(window, std::atoi(id)) : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "menu") == 0) return printRect(FindWindowA("#32768", nullptr));
    if (argc == 3 && std::strcmp(argv[1], "window") == 0) return printRect(FindWindowA(nullptr, argv[2]));
    if (argc == 4 && std::strcmp(argv[1], "control") == 0) return printRect(control(argv[2], argv[3]));
    if (argc == 4 && std::strcmp(argv[1], "text") == 0) {
        HWND item = control(argv[2], argv[3]);
        if (!item) return 1;
        char text[512] = {};
        GetWindowTextA(item, text, sizeof text);
        std::printf("%s\n", text);
        return 0;
    }
    std::fprintf(stderr, "usage: window_probe window TITLE | control TITLE ID | text TITLE ID | menu\n");
    return 2;
}
