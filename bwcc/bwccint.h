// The stand-in library's classes, as its registration sees them.
#pragma once
#include <windows.h>

LRESULT CALLBACK bordlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK borShadeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
