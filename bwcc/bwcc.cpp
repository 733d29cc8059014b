// Registration of the stand-in custom-control library and its dialog creation.
#include "bwcc/bwcc.h"

#include "bwcc/bwccint.h"

namespace {
bool registerClass(HINSTANCE hInstance, const char* name, WNDPROC proc, int wndExtra)
{
    WNDCLASSA wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = wndExtra;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
}  // namespace

BOOL WINAPI BWCCRegister(HINSTANCE hInstance)
{
    const bool dlg = registerClass(hInstance, "bordlg", bordlgProc, DLGWINDOWEXTRA);
    const bool shade = registerClass(hInstance, "BorShade", borShadeProc, 0);
    return dlg && shade;
}

WORD WINAPI BWCCGetVersion()
{
    return 0x0200;
}

HWND WINAPI BWCCCreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                                   DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateDialogParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}
