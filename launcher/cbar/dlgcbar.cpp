// The completion-bar dialog and the five procedures the play cycle drives it with.
#include "launcher/cbar/dlgcbar.h"

#include "bwcc/bwcc.h"
#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/cbardlg.h"
#include "launcher/cbar/cbargeom.h"
#include "launcher/cbar/cbarres.h"
#include "launcher/launcher.h"

namespace {
const char kDefaultTitle[] = "Please Wait...Uninstalling BK2 Demo";

// The dialog opened last, null once closed. A close request destroys the dialog
// but leaves the handle here (the Dismissed state) until the next open or close.
HWND CBarHWND;
// Our dialog while it exists, from its initialisation to its destruction. A dead
// handle may come back for another window, so CBarHWND is only addressed while equal.
HWND cbarLive;
int cbarnobumps;
int cbarbumpcnt;
// Whether our dialog is the active window: the system tells it when another
// window takes over, so no set has to ask the display whether it still is.
bool cbarActive;
// The bar of our dialog, kept from its creation: a child lookup per value would
// cost the install a round trip each time.
HWND cbarBar;

// The dialog to address, or null: closed, never created, or dismissed.
HWND liveDialog()
{
    return CBarHWND && CBarHWND == cbarLive ? CBarHWND : nullptr;
}

void onInitDialog(HWND hDlg)
{
    cbarLive = hDlg;
    cbarActive = false;
    RegisterCBarControlClass();
    // The bar takes exactly the placeholder's area.
    HWND place = GetDlgItem(hDlg, IDC_CBARPLACE);
    RECT rc = {};
    GetWindowRect(place, &rc);
    MapWindowPoints(HWND_DESKTOP, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    cbarBar = CreateCBarControl(hDlg, rc, IDC_CBAR);
    DestroyWindow(place);
    ShowWindow(hDlg, SW_HIDE);
}
}  // namespace

INT_PTR CALLBACK CompletionBarDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(hDlg);
        return TRUE;
    case WM_CLOSE:
        UnRegisterCBarControlClass();
        DestroyWindow(hDlg);
        return TRUE;
    case CBM_SETPERCENT:
        SendMessageA(hDlg == cbarLive ? cbarBar : GetDlgItem(hDlg, IDC_CBAR), CBM_SETPERCENT,
                     wParam, lParam);
        return TRUE;
    case WM_ACTIVATE:
        if (hDlg == cbarLive)
            cbarActive = LOWORD(wParam) != WA_INACTIVE;
        return FALSE;
    case WM_DESTROY:
        if (hDlg == cbarLive) {
            cbarLive = nullptr;
            cbarActive = false;
        }
        return FALSE;
    }
    // Everything else, commands and the launcher's control message included, is
    // left to the default dialog handling, which does nothing with it.
    return FALSE;
}

HWND CompletionBarDialog(HWND hwnd, const char* title, int centerinparent)
{
    HWND hDlg = BWCCCreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_CBAR), hwnd,
                                       CompletionBarDialogProc, 0);
    if (hDlg) {
        SetWindowTextA(hDlg, title);
        // The name a screen reader gives the bar; the bar paints only its number.
        SetWindowTextA(GetDlgItem(hDlg, IDC_CBAR), title);
        if (centerinparent) {
            ShowWindow(hDlg, SW_SHOWNORMAL);
            UpdateWindow(hDlg);
        }
    }
    drainMessages();  // the repaint, timer ticks and anything else pending
    return hDlg;
}

void OpenCompletionBar(const char* title)
{
    if (HWND old = liveDialog())
        DestroyWindow(old);
    CBarHWND = CompletionBarDialog(BrakDemoHWND, title, 1);
    drainMessages();
}

void SetCompletionBar(int percent)
{
    if (!CBarHWND)
        OpenCompletionBar(kDefaultTitle);
    // Dismissed: the user closed it; show nothing until the next open.
    if (HWND dlg = liveDialog()) {
        SendMessageA(dlg, CBM_SETPERCENT, 0, percent);
        // Asked again at every step where another window has taken over; asking
        // while we are in front would cost the copy a round trip each time.
        if (!cbarActive)
            SetForegroundWindow(dlg);
    }
    drainMessages();
}

void SetCompletionBarBumps(int nobumps)
{
    cbarnobumps = nobumps;
    cbarbumpcnt = 0;
    SetCompletionBar(0);
}

void BumpCompletionBar()
{
    // Without a positive count there is no scale to bump along.
    if (!CBarHWND || cbarnobumps <= 0)
        return;
    const CBarBump bump = cbarBump(cbarbumpcnt, cbarnobumps);
    cbarbumpcnt = bump.count;
    SetCompletionBar(bump.percent);
}

void CloseCompletionBar()
{
    if (!CBarHWND)
        return;
    drainMessages();
    if (HWND dlg = liveDialog())
        DestroyWindow(dlg);
    CBarHWND = nullptr;
}
