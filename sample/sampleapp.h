// What the three sample programs share: automatic mode and the demo's report.
#pragma once
#include <windows.h>

// BK2DEMO_AUTO=1: press buttons and close windows without a user, for a demo
// run on a virtual display. It reaches every program through the launcher's
// environment, which the launcher hands on unchanged.
inline bool autoMode()
{
    char value[8];
    const DWORD n = GetEnvironmentVariableA("BK2DEMO_AUTO", value, sizeof value);
    return n == 1 && value[0] == '1';
}

// Appends line and a line break to the file BK2DEMO_REPORT names, if any.
// Opened for appending only, so the programs' lines never overwrite each other.
inline void appendReport(const char* line)
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("BK2DEMO_REPORT", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}

// The closing half of a sample window's dialog procedure: a timer or the OK or
// Cancel button ends it. True when the message was one of those.
inline bool endsOnTimerOrButton(HWND hDlg, UINT message, WPARAM wParam)
{
    if (message == WM_TIMER ||
        (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))) {
        EndDialog(hDlg, 0);
        return true;
    }
    return message == WM_COMMAND;
}
