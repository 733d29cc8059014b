// The launcher's core globals and its warning box, shared by every module.
#include "launcher/launcher.h"

HINSTANCE hInst;
HWND BrakDemoHWND;
HWND Current_hwnd;
UINT DemoMessage;
int DemoQuit;
int RunProgram;
int TimerCount;
int SessionEnded;

void warn(const char* text)
{
    if (SessionEnded)
        return;
    MessageBoxA(Current_hwnd, text, "Brakkon 2", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}
