// Our own small stand-in for the custom-control library the launcher registers
// with at start-up: its registration calls and, for the completion bar, its
// dialog class "bordlg" and shaded-panel class "BorShade".
#pragma once
#include <windows.h>

BOOL WINAPI BWCCRegister(HINSTANCE hInstance);
WORD WINAPI BWCCGetVersion();
