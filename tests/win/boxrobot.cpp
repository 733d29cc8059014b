// The in-thread warning-box robot.
#include "boxrobot.h"

namespace {
UINT_PTR robotTimer;
HWND lastPressed;
std::vector<SeenBox> seenBoxes;

VOID CALLBACK answerBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA("#32770", "Brakkon 2");
    // The OK posted to a box is handled before the next tick could come.
    if (!box || box == lastPressed)
        return;
    char text[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seenBoxes.push_back({text, GetWindow(box, GW_OWNER)});
    lastPressed = box;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

void startBoxRobot()
{
    seenBoxes.clear();
    lastPressed = nullptr;
    robotTimer = SetTimer(nullptr, 0, 50, answerBox);
}

std::vector<SeenBox> stopBoxRobot()
{
    KillTimer(nullptr, robotTimer);
    robotTimer = 0;
    return seenBoxes;
}
