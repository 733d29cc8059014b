// Our own small stand-in for the custom-control library the launcher registers
// with at start-up: its registration calls and, for the completion bar, its
// dialog class "bordlg" and shaded-panel class "BorShade".
#pragma once
#include <windows.h>

// "BorShade" styles, in the low word of the window style. The low four bits pick
// the kind of panel; the panel draws only its frame, so the dialog's light-gray face
// and any controls set inside it show through.
#define BSS_GROUP 0x0001   // raised frame around a group: light top-left, dark bottom-right
#define BSS_RECESS 0x0006  // sunken recess something sits in: dark top-left, light bottom-right
#define BSS_KIND 0x000F    // mask of the kind
#define BSS_BEVEL 0x8000   // edges two pixels deep; without it, one

#ifndef RC_INVOKED
// Registers "bordlg" and "BorShade" (global classes); TRUE when both are available.
BOOL WINAPI BWCCRegister(HINSTANCE hInstance);
WORD WINAPI BWCCGetVersion();
// The system's CreateDialogParamA, for templates that use the classes above.
HWND WINAPI BWCCCreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                                   DLGPROC lpDialogFunc, LPARAM dwInitParam);
#endif
