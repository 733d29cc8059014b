// BK2DEMO.EXE, the sample menu: Play and Quit run the relay beside it.
// In automatic mode it plays on its first N starts and quits on the next.
#include <windows.h>

#include "common/dllsafety.h"
#include "sample/resource.h"
#include "sample/sampleapp.h"

namespace {
const UINT_PTR kAutoTimer = 1;
const UINT kAutoDelayMs = 1000;
const DWORD kRelayWaitMs = 5000;

// Runs brakpass.exe from this program's own directory and waits until it has
// posted its message, so that the launcher has it before the menu goes.
bool runRelay(HWND hDlg, int code)
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = nullptr;
    for (char* p = path; n && n < sizeof path && *p; ++p)
        if (*p == '\\')
            slash = p;
    char cmd[MAX_PATH + 8];  // the path, its quotes, a blank and one digit
    if (slash && static_cast<size_t>(slash - path) + sizeof "\\brakpass.exe" <= sizeof path) {
        lstrcpyA(slash, "\\brakpass.exe");
        wsprintfA(cmd, "\"%s\" %d", path, code);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (CreateProcessA(path, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            WaitForSingleObject(pi.hProcess, kRelayWaitMs);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            return true;
        }
    }
    MessageBoxA(hDlg, "Could not run brakpass.exe.", "BK2 Demo", MB_ICONWARNING);
    return false;
}

// The marker counts the plays asked for; the start after the last one quits.
int autoChoice()
{
    char marker[MAX_PATH];
    const DWORD n = GetTempPathA(sizeof marker, marker);
    if (n == 0 || n + sizeof "BK2DEMO.AUT" > sizeof marker)
        return IDC_QUIT;
    lstrcatA(marker, "BK2DEMO.AUT");
    const int played = static_cast<int>(GetPrivateProfileIntA("auto", "played", 0, marker));
    if (played >= autoPlays()) {
        DeleteFileA(marker);
        return IDC_QUIT;
    }
    char count[16];
    wsprintfA(count, "%d", played + 1);
    if (!WritePrivateProfileStringA("auto", "played", count, marker))
        return IDC_QUIT;  // without a marker the next start would play again, for ever
    return IDC_PLAY;
}

void onCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDC_PLAY:
        appendReport("menu: Play");
        if (runRelay(hDlg, 1))
            EndDialog(hDlg, 0);  // the launcher starts the menu again after the play
        break;
    case IDC_QUIT:
    case IDCANCEL:
        appendReport("menu: Quit");
        runRelay(hDlg, 0);
        EndDialog(hDlg, 0);
        break;
    }
}

INT_PTR CALLBACK MenuDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (autoMode()) {
            SetWindowLongPtrA(hDlg, DWLP_USER, autoChoice());
            SetTimer(hDlg, kAutoTimer, kAutoDelayMs, nullptr);
        }
        return TRUE;
    case WM_TIMER:
        KillTimer(hDlg, kAutoTimer);
        SendDlgItemMessageA(hDlg, static_cast<int>(GetWindowLongPtrA(hDlg, DWLP_USER)), BM_CLICK,
                            0, 0);
        return TRUE;
    case WM_COMMAND:
        onCommand(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    restrictDllSearch();
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_MENU), nullptr, MenuDialogProc, 0);
    return 0;
}
