// What the three sample programs share: automatic mode and the demo's report.
// They use no C runtime, only what Windows 95 and NT 4.0 have.
#pragma once
#include <windows.h>

// Appends text to the string in buf (cap bytes), cut short to fit.
inline void appendText(char* buf, int cap, const char* text)
{
    const int used = lstrlenA(buf);
    if (used < cap - 1)
        lstrcpynA(buf + used, text, cap - used);
}

// A whole number from the environment; 0 when unset or not a number from 1.
inline int envNumber(const char* name)
{
    char value[12];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 || n >= sizeof value)
        return 0;
    int out = 0;
    for (const char* p = value; *p; ++p) {
        if (*p < '0' || *p > '9' || out > 99999999)
            return 0;
        out = out * 10 + (*p - '0');
    }
    return out;
}

// BK2DEMO_AUTO=N: press buttons and close windows without a user, for a run on
// a virtual display; the menu plays on its first N starts and quits on the
// next. It reaches every program through the launcher's environment, which
// the launcher hands on unchanged.
inline int autoPlays()
{
    return envNumber("BK2DEMO_AUTO");
}

inline bool autoMode()
{
    return autoPlays() > 0;
}

// How long the game and the follow-up stay in automatic mode: 2 s, or
// BK2DEMO_CLOSEMS for a long run of short cycles.
inline UINT autoCloseMs()
{
    const int ms = envNumber("BK2DEMO_CLOSEMS");
    return ms > 0 ? static_cast<UINT>(ms) : 2000;
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
