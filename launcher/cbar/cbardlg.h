// The completion-bar dialog's internals, for its module and its tests.
#pragma once
#include <windows.h>

// The dialog from template 1000, owned by hwnd, captioned title; shown when
// centerinparent is non-zero (it keeps the template's place). Null on failure.
HWND CompletionBarDialog(HWND hwnd, const char* title, int centerinparent);
INT_PTR CALLBACK CompletionBarDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
