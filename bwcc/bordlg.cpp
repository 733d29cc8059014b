// "bordlg": a dialog class with the library's light-gray face; the rest is the
// system's dialog handling.
#include "bwcc/bwccint.h"

LRESULT CALLBACK bordlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The dialog's background is erased with the brush this answers.
    if (message == WM_CTLCOLORDLG)
        return reinterpret_cast<LRESULT>(GetStockObject(LTGRAY_BRUSH));
    return DefDlgProcA(hwnd, message, wParam, lParam);
}
