// The bar control "CBarControl": a child window that paints one percentage as a
// bevelled bar with the number centred over it (in the system's colours under high
// contrast), and answers assistive tools as the stock progress bar does: a value
// change event at each new value, PBM_GETPOS, PBM_GETRANGE, the class query.
#pragma once
#include <windows.h>

// Sets the percentage every bar paints: lParam, a signed 32-bit value; wParam is not read.
constexpr UINT CBM_SETPERCENT = WM_USER + 110;

// The bar font made by the last registration (null when none); the leak tests read it.
extern HFONT hcbarfont;

// Makes a new bar font, releasing the one it replaces, and registers the class once.
void RegisterCBarControlClass();
// Deletes the bar font and unregisters the class (refused while a bar exists).
void UnRegisterCBarControlClass();
// A visible bar over rect (parent client coordinates), starting at 0; null on failure.
HWND CreateCBarControl(HWND hwnd, RECT rect, UINT idcode);
LRESULT CALLBACK CBarControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
