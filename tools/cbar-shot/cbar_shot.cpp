// Shows the completion bar at 50% for a screenshot (scripts/cbar-shot): prints the
// dialog's screen rectangle as "x y width height" and keeps it up for argv[1] ms.
#include <cstdio>
#include <cstdlib>

#include "bwcc/bwcc.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"

int main(int argc, char** argv)
{
    hInst = GetModuleHandleA(nullptr);
    BWCCRegister(hInst);
    BrakDemoHWND = Current_hwnd = CreateWindowExA(0, "STATIC", "BrakDemo", WS_OVERLAPPEDWINDOW,
                                                  20, 20, 400, 200, nullptr, nullptr, hInst,
                                                  nullptr);
    OpenCompletionBar("Please wait...Installing BK2 Demo!");
    SetCompletionBar(50);

    HWND dlg = FindWindowA("bordlg", nullptr);
    RECT rc = {};
    if (!dlg || !GetWindowRect(dlg, &rc))
        return 1;
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    std::fflush(stdout);

    const DWORD until = GetTickCount() + (argc > 1 ? std::atoi(argv[1]) : 3000);
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    CloseCompletionBar();
    return 0;
}
