// Small helpers the Wine test programs share: their folder, the handle count, a drain.
#pragma once
#include <windows.h>

#include <string>

// The folder of the running test program.
inline std::string exeDir()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string path = self;
    return path.substr(0, path.rfind('\\'));
}

// Handles open in this process, found by asking every slot of the table: Wine's
// GetProcessHandleCount is a stub that answers 0.
inline int openHandles()
{
    int n = 0;
    for (ULONG_PTR v = 4; v < 0x4000; v += 4) {
        DWORD flags;
        n += GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags) ? 1 : 0;
    }
    return n;
}

// Drains the thread's queue without waiting, as the completion bar does.
inline void pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
