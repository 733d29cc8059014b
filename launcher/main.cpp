// The launcher's entry: the hidden main window, the front-end's first start, the message loop.
#include "launcher/launcher.h"

#include "bwcc/bwcc.h"
#include "common/ctlmsg.h"
#include "common/dllsafety.h"
#include "common/sysproc.h"
#include "launcher/laterapi.h"
#include "launcher/supervise.h"

namespace {
const char szAppName[] = "BrakDemo";

// One launcher at a time: a second one would run a second front-end and,
// on the next run request, a second play cycle over the same demo tree.
bool anotherLauncherRuns()
{
    // The session's own namespace where there is one (2000 on); 9x refuses a
    // backslash in the name, and NT 4.0 has one namespace only.
    const char* name = systemFacts().localNamespace ? "Local\\Brakkon2DemoLauncher"
                                                    : "Brakkon2DemoLauncher";
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
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
    // NT only: 9x ends programs in no order we could set.
    typedef BOOL(WINAPI * ShutdownLevelFn)(DWORD, DWORD);
    const ShutdownLevelFn setLevel =
        systemFn<ShutdownLevelFn>("kernel32.dll", "SetProcessShutdownParameters");
    if (setLevel)
        setLevel(0x1FF, 0);
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
