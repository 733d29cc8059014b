// register.exe, the sample follow-up program the launcher runs after a play.
#include <windows.h>

#include "common/dllsafety.h"
#include "sample/resource.h"
#include "sample/sampleapp.h"

namespace {
const UINT_PTR kCloseTimer = 1;

INT_PTR CALLBACK RegisterDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (autoMode())
            SetTimer(hDlg, kCloseTimer, autoCloseMs(), nullptr);
        return TRUE;
    }
    return endsOnTimerOrButton(hDlg, message, wParam) ? TRUE : FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    restrictDllSearch();
    char dir[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    char line[MAX_PATH + 32];
    wsprintfA(line, "register: ran in %s", n && n < sizeof dir ? dir : "?");
    appendReport(line);
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_REGISTER), nullptr, RegisterDialogProc, 0);
    return 0;
}
