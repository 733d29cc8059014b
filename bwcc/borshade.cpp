// "BorShade": a bevelled frame drawn around an area of a dialog (styles in bwcc.h).
#include "bwcc/bwcc.h"
#include "bwcc/bwccint.h"

namespace {
void band(HDC dc, int left, int top, int right, int bottom, int stock)
{
    RECT rc = {left, top, right, bottom};
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(stock)));
}

void paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const int depth = (style & BSS_BEVEL) ? 2 : 1;
    int light = WHITE_BRUSH, dark = GRAY_BRUSH;
    if ((style & BSS_KIND) == BSS_RECESS) {
        light = GRAY_BRUSH;
        dark = WHITE_BRUSH;
    }
    RECT r;
    GetClientRect(hwnd, &r);
    for (int i = 0; i < depth; ++i) {
        band(dc, r.left + i, r.top + i, r.right - i, r.top + i + 1, light);
        band(dc, r.left + i, r.top + i, r.left + i + 1, r.bottom - i, light);
        band(dc, r.left + i, r.bottom - i - 1, r.right - i, r.bottom - i, dark);
        band(dc, r.right - i - 1, r.top + i, r.right - i, r.bottom - i, dark);
    }
    EndPaint(hwnd, &ps);
}
}  // namespace

LRESULT CALLBACK borShadeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the inside is the dialog's: erasing it would wipe controls set in it
    case WM_PAINT:
        paint(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
