// Shows the completion bar at 50% for a screenshot (scripts/cbar-shot): prints the
// dialog's screen rectangle as "x y width height" and keeps it up for argv[1] ms.
// With "hc" as argv[2], as under high contrast with the pictures' colours, which it
// sets with SetSysColors for its life (Wine cannot switch high contrast on).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bwcc/bwcc.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/win/hicontrast_fake.h"
#include "tools/cbar-shot/shotscheme.h"

int main(int argc, char** argv)
{
    const int which[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    const COLORREF scheme[] = {kShotScheme.window, kShotScheme.windowText, kShotScheme.highlight,
                               kShotScheme.highlightText};
    COLORREF saved[4];
    for (int i = 0; i < 4; ++i)
        saved[i] = GetSysColor(which[i]);
    fakeHighContrast = argc > 2 && std::strcmp(argv[2], "hc") == 0;
    if (fakeHighContrast && !SetSysColors(4, which, scheme))
        return 1;

    hInst = GetModuleHandleA(nullptr);
    BWCCRegister(hInst);
    BrakDemoHWND = Current_hwnd = CreateWindowExA(0, "STATIC", "BrakDemo", WS_OVERLAPPEDWINDOW,
                                                  20, 20, 400, 200, nullptr, nullptr, hInst,
                                                  nullptr);
    OpenCompletionBar("Please wait...Installing BK2 Demo!");
    SetCompletionBar(50);

    HWND dlg = FindWindowA("bordlg", nullptr);
    RECT rc = {};
    int status = 1;
    if (dlg && GetWindowRect(dlg, &rc)) {
        std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        std::fflush(stdout);
        status = 0;
        const DWORD until = GetTickCount() + (argc > 1 ? std::atoi(argv[1]) : 3000);
        while (static_cast<LONG>(until - GetTickCount()) > 0) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            Sleep(20);
        }
    }
    CloseCompletionBar();
    if (fakeHighContrast)
        SetSysColors(4, which, saved);
    return status;
}
