// The relay: turns the number on its command line into one broadcast control message.
#include <windows.h>

#include "common/ctlmsg.h"
#include "common/dllsafety.h"
#include "relay/relayargs.h"

namespace {
const char szAppName[] = "BK2Pass";
UINT DemoMessage;

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    restrictDllSearch();

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
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);

    DemoMessage = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
    if (DemoMessage == 0) {
        MessageBoxA(hwnd, "Could not start BK2 Demo!", szAppName, MB_ICONWARNING);
        return 0;
    }
    // Cut the argument ourselves: the runtimes differ in how they skip the
    // program name, and the number must read the same on every one.
    const int32_t code = atolWrap(commandTail(GetCommandLineA()));
    PostMessageA(HWND_BROADCAST, DemoMessage, static_cast<WPARAM>(static_cast<uint32_t>(code)), 0);
    return 0;
}
