// The launcher's entry: the hidden main window, the front-end's first start, the message loop.
#include "launcher/launcher.h"

#include "bwcc/bwcc.h"
#include "common/ctlmsg.h"
#include "common/dllsafety.h"
#include "launcher/supervise.h"

namespace {
const char szAppName[] = "BrakDemo";

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
    // Below the default level: at a session's end the game and the programs
    // it started get their messages first, and end before our clean-up.
    SetProcessShutdownParameters(0x1FF, 0);
    removeLeftoverTree();

    BWCCRegister(hInstance);
    BWCCGetVersion();

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, "BRAKSTART");  // brakstart.rc
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = szAppName;
    RegisterClassA(&wc);

    HWND hwnd = CreateWindowExA(0, szAppName, szAppName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                hInstance, nullptr);
    if (!hwnd)
        return 0;
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);
    Current_hwnd = BrakDemoHWND = hwnd;
    hInst = hInstance;

    startDemo();

    DemoMessage = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
    if (DemoMessage == 0 || !SetTimer(hwnd, SUPERVISE_TIMER, SUPERVISE_MS, nullptr)) {
        warn("Could not start BK2 Demo!");
        return 0;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        if (!mainLoopMessage(msg))
            break;
    return 0;
}
