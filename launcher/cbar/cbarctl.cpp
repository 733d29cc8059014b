// The "CBarControl" class: registration, creation and the painting of the bar.
#include "launcher/cbar/cbarctl.h"

#include "launcher/cbar/cbargeom.h"
#include "launcher/launcher.h"

HFONT hcbarfont;

namespace {
const char kClassName[] = "CBarControl";

// One value for every bar: a new bar resets it, each set-percent replaces it.
int ctrlpercent;

const LOGFONTA cbarfont = {
    14, 0, 0, 0, FW_LIGHT, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_TT_ALWAYS,
    DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "",
};

void fill(HDC dc, const CBarRect& r, HBRUSH brush)
{
    const RECT rc = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rc, brush);
}

void paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HGDIOBJ oldFont = hcbarfont ? SelectObject(dc, hcbarfont) : nullptr;

    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HBRUSH hgrayhi = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HBRUSH hgraylo = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    HBRUSH hnormbrush = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));

    RECT client;
    GetClientRect(hwnd, &client);
    const CBarFills f = cbarFills(client.right - client.left, client.bottom - client.top,
                                  ctrlpercent);
    fill(dc, f.back, hnormbrush);
    fill(dc, f.outline, black);
    fill(dc, f.highlight, hgrayhi);
    fill(dc, f.shadow, hgraylo);
    fill(dc, f.face, hnormbrush);

    char text[16];  // "-2147483648%" at most
    wsprintfA(text, "%i%%", ctrlpercent);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);

    if (oldFont)
        SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
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
    case WM_COMMAND:
        return 0;
    case CBM_SETPERCENT:
        // The install sets a value every 12,001 bytes but the number moves only
        // every 115,000: repainting the same picture would cost the copy its speed.
        if (ctrlpercent != static_cast<int>(lParam)) {
            ctrlpercent = static_cast<int>(lParam);
            // The paint covers every pixel itself: no erase.
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
