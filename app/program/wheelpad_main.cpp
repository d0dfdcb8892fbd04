// wheelpad.exe: the tray program of the pendant.
#include <windows.h>

#include "app/pendant_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    app::PendantApp application;
    application.initInstance();
    return 0;
}
