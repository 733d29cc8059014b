// The "CBarControl" class: registration, creation and the painting of the bar.
#include "launcher/cbar/cbarctl.h"

#include <commctrl.h>

#include "common/sysproc.h"
#include "launcher/cbar/cbargeom.h"
#include "launcher/cbar/cbarlook.h"
#include "launcher/cbar/hicontrast.h"
#include "launcher/launcher.h"

HFONT hcbarfont;

namespace {
const char kClassName[] = "CBarControl";
// The stock progress bar's index among the classes the accessibility layer knows.
const LRESULT kProgressClassIndex = 65536 + 13;

// One value for every bar: a new bar resets it, each set-percent replaces it.
int ctrlpercent;

const LOGFONTA cbarfont = {
    14, 0, 0, 0, FW_LIGHT, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_TT_ALWAYS,
    DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "",
};

void fill(HDC dc, const CBarRect& r, CBarColour colour)
{
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

// The centred text in one colour, cut to the columns left..right.
void text(HDC dc, const RECT& client, const char* s, int left, int right, CBarColour colour)
{
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, left, client.top, right, client.bottom);
    SetTextColor(dc, colour);
    RECT rc = client;
    DrawTextA(dc, s, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    RestoreDC(dc, saved);
}

void paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ oldFont = hcbarfont ? SelectObject(dc, hcbarfont) : nullptr;

    const CBarSystemColours sys = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
                                   GetSysColor(COLOR_HIGHLIGHT),
                                   GetSysColor(COLOR_HIGHLIGHTTEXT)};
    const CBarColours c = cbarColours(highContrastOn(), sys);

    RECT client;
    GetClientRect(hwnd, &client);
    const CBarFills f = cbarFills(client.right - client.left, client.bottom - client.top,
                                  ctrlpercent);
    fill(dc, f.back, c.back);
    fill(dc, f.outline, c.outline);
    fill(dc, f.highlight, c.highlight);
    fill(dc, f.shadow, c.shadow);
    fill(dc, f.face, c.face);

    char s[16];  // "-2147483648%" at most
    wsprintfA(s, "%i%%", ctrlpercent);
    SetBkMode(dc, TRANSPARENT);
    text(dc, client, s, client.left, f.outline.right, c.textOnFill);
    text(dc, client, s, f.outline.right, client.right, c.textOnBack);

    if (oldFont)
        SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

// Tells assistive tools that the value shown has changed, as the stock progress bar
// does. Windows 95 and NT 4.0 have the call only with Active Accessibility installed.
void raiseValueChange(HWND hwnd)
{
    using NotifyFn = void(WINAPI*)(DWORD, HWND, LONG, LONG);
    if (const NotifyFn notify = systemFn<NotifyFn>("user32.dll", "NotifyWinEvent"))
        notify(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

// The stock progress bar's answer: the low limit when asked for it, else the high one.
LRESULT range(WPARAM wantLow, LPARAM out)
{
    if (PBRANGE* r = reinterpret_cast<PBRANGE*>(out)) {
        r->iLow = 0;
        r->iHigh = 100;
    }
    return wantLow ? 0 : 100;
}
}  // namespace

void RegisterCBarControlClass()
{
    // Every dialog makes a fresh font; without releasing the one it replaces, each
    // bar opened would leak one until the process ran out of GDI objects.
    HFONT replaced = hcbarfont;
    hcbarfont = CreateFontIndirectA(&cbarfont);
    if (replaced)
        DeleteObject(replaced);

    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW;
    wc.lpfnWndProc = CBarControlProc;
    wc.cbWndExtra = 4;
    wc.hInstance = hInst;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // refused once registered; the identical first class stays
}

void UnRegisterCBarControlClass()
{
    if (hcbarfont)
        DeleteObject(hcbarfont);
    // Forgotten, so that the next registration never deletes a handle since reused.
    hcbarfont = nullptr;
    UnregisterClassA(kClassName, hInst);  // refused while a bar still exists
}

HWND CreateCBarControl(HWND hwnd, RECT rect, UINT idcode)
{
    return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, hwnd,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idcode)), hInst,
                           nullptr);
}

LRESULT CALLBACK CBarControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        ctrlpercent = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        return 0;
    case WM_ACTIVATE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 1;
    case WM_PAINT:
        paint(hwnd);
        return 0;
    case PBM_GETPOS:
        return cbarPosition(ctrlpercent);
    case PBM_GETRANGE:
        return range(wParam, lParam);
    case WM_GETOBJECT:
        // Windows' accessibility layer then builds a progress bar's object for us.
        if (static_cast<LONG>(lParam) == OBJID_QUERYCLASSNAMEIDX)
            return kProgressClassIndex;
        break;
    case WM_COMMAND:
        return 0;
    case CBM_SETPERCENT:
        // The install sets a value every 12,001 bytes but the number moves only
        // every 115,000: repainting the same picture would cost the copy its speed.
        if (ctrlpercent != static_cast<int>(lParam)) {
            ctrlpercent = static_cast<int>(lParam);
            // The paint covers every pixel itself: no erase.
            InvalidateRect(hwnd, nullptr, FALSE);
            raiseValueChange(hwnd);
        }
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
