#include <windows.h>

#include <cstdio>

#include "res/resource.h"

// For scripts/screenshot: sends the version command to a running Scourly, waits until its about
// box has painted, and prints the box's screen rectangle as WIDTHxHEIGHT+X+Y.
int main()
{
    HWND hMain = nullptr;
    for (int wait = 0; !hMain && wait < 300; ++wait) {
        hMain = ::FindWindowA("#32770", "Scourly");
        if (!hMain)
            ::Sleep(100);
    }
    if (!hMain) {
        fprintf(stderr, "OpenAboutBox: Scourly's window did not appear\n");
        return 1;
    }
    ::PostMessageA(hMain, WM_COMMAND, MAKEWPARAM(ID_VERSION, 0), 0);
    for (int wait = 0; wait < 300; ++wait) {
        ::Sleep(100);
        HWND hBox = ::GetLastActivePopup(hMain);
        if (hBox == hMain || !::IsWindowVisible(hBox))
            continue;
        ::Sleep(1000);
        RECT rc;
        ::GetWindowRect(hBox, &rc);
        printf("%ldx%ld+%ld+%ld\n", rc.right - rc.left, rc.bottom - rc.top, rc.left, rc.top);
        return 0;
    }
    fprintf(stderr, "OpenAboutBox: the about box did not appear\n");
    return 1;
}
