// The hidden window's procedure and the main loop's handling of one message:
// the supervision decisions applied to the launcher's globals.
#include "launcher/launcher.h"

#include "launcher/supervise.h"

int QuitPosted;
int LauncherClosed;

namespace {
void endLauncher(HWND hwnd)
{
    KillTimer(hwnd, SUPERVISE_TIMER);
    PostQuitMessage(0);
    QuitPosted = 1;
}

void onTimer(HWND hwnd)
{
    switch (tickAction(ExistProcess(&processInfo) != 0, DemoQuit != 0, RunProgram != 0,
                       TimerCount)) {
    case TICK_COUNT:
        ++TimerCount;
        break;
    case TICK_END:
        endLauncher(hwnd);
        break;
    case TICK_NOTHING:
        break;
    }
}

void onControl(WPARAM code)
{
    switch (controlAction(code)) {
    case CONTROL_QUIT:
        DemoQuit = 1;
        break;
    case CONTROL_RUN:
        RunProgram = 1;
        TimerCount = 0;
        copybrak();
        break;
    case CONTROL_NONE:
        break;
    }
}
}  // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        LauncherClosed = 1;
        endLauncher(hwnd);
        return 0;
    case WM_TIMER:
        onTimer(hwnd);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // never hold up the player's shutdown
    case WM_ENDSESSION:
        // FALSE: another program refused, and the session goes on.
        if (wParam && endSession())
            endLauncher(hwnd);
        return 0;
    }
    // A control message dispatched by a drain or a box's loop lands here too.
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void takePendingClose()
{
    MSG msg;
    if (PeekMessageA(&msg, BrakDemoHWND, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        DispatchMessageA(&msg);
}

bool mainLoopMessage(const MSG& msg)
{
    if (msg.message != DemoMessage) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return true;
    }
    // A broadcast lands once per top-level window of this thread (the IME
    // window, the completion bar): only our own copy counts.
    if (msg.hwnd == BrakDemoHWND)
        onControl(msg.wParam);
    return !QuitPosted;
}
