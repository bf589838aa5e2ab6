// The program's one application object and its entry point.
#include "CSnapdiscApp.h"

CSnapdiscApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return AfxWinMain(hInstance);
}
