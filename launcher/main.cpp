// The launcher's entry: hidden main window, message loop and front-end supervision.
#include "launcher/launcher.h"

#include <cstdlib>

#include "bwcc/bwcc.h"
#include "common/ctlmsg.h"
#include "common/dllsafety.h"

namespace {
const char szAppName[] = "BrakDemo";
const UINT_PTR kTimerId = 1;
const UINT kTimerMs = 3000;

// A quit decided while the completion bar drains the queue is taken out of the
// queue by that drain; this remembers it so that the loop still ends.
int QuitPosted;

void endLauncher(HWND hwnd)
{
    KillTimer(hwnd, kTimerId);
    PostQuitMessage(0);
    QuitPosted = 1;
}

void onTimer(HWND hwnd)
{
    if (!ExistProcess(&processInfo) && DemoQuit) {
        endLauncher(hwnd);
        return;
    }
    if (!ExistProcess(&processInfo) && RunProgram == 0) {
        if (++TimerCount > 1)
            endLauncher(hwnd);
    }
}

void onControl(WPARAM code)
{
    switch (static_cast<int>(code)) {
    case BRAK_CODE_QUIT:
        DemoQuit = 1;
        break;
    case BRAK_CODE_RUN:
        RunProgram = 1;
        TimerCount = 0;
        copybrak();
        break;
    default:
        break;  // any other code is dropped
    }
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        endLauncher(hwnd);
        return 0;
    case WM_TIMER:
        onTimer(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// One launcher at a time: a second one would run a second front-end and,
// on the next run request, a second play cycle over the same demo tree.
bool anotherLauncherRuns()
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\Brakkon2DemoLauncher");
    // Held (never closed) for the life of the process.
    return mutex && GetLastError() == ERROR_ALREADY_EXISTS;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    restrictDllSearch();
    if (anotherLauncherRuns())
        return 0;
    removeLeftoverTree();

    BWCCRegister(hInstance);
    BWCCGetVersion();

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = szAppName;
    RegisterClassA(&wc);

    HWND hwnd = CreateWindowExA(0, szAppName, szAppName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                hInstance, nullptr);
    if (!hwnd)
        exit(0);
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);
    Current_hwnd = BrakDemoHWND = hwnd;
    hInst = hInstance;

    startDemo();

    DemoMessage = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
    if (DemoMessage == 0 || !SetTimer(hwnd, kTimerId, kTimerMs, nullptr)) {
        warn("Could not start BK2 Demo!");
        return 0;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == DemoMessage) {
            // A broadcast lands once per top-level window of this thread (the
            // IME window, the completion bar): only our own copy counts.
            if (msg.hwnd == BrakDemoHWND)
                onControl(msg.wParam);
            if (QuitPosted)
                break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
