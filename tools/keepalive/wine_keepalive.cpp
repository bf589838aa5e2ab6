// Test infrastructure: keeps Wine's desktop process alive during a test run
// by owning one hidden window. Without it the desktop quits about a second
// after the last GUI program and every GUI test pays for its restart. Ends
// by itself after 30 minutes, or when the prefix's wineserver is shut down.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    HWND window = CreateWindowExA(0, "STATIC", "snapdisc test keepalive", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  instance, nullptr);
    SetTimer(window, 1, 30 * 60 * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageA(&msg);
    }
    return 0;
}
