// The launcher's warning box is owned by the hidden window and carries its caption.
#include <gtest/gtest.h>

#include "launcher/launcher.h"

namespace {
// Finds the warning box this thread shows and presses OK, recording its text.
struct Seen {
    char caption[64];
    char text[128];
    HWND owner;
};

Seen seen;

VOID CALLBACK pressOk(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND box = FindWindowA("#32770", "Brakkon 2");
    ASSERT_NE(box, nullptr);
    GetWindowTextA(box, seen.caption, sizeof seen.caption);
    GetDlgItemTextA(box, 0xFFFF, seen.text, sizeof seen.text);
    seen.owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(Warn, OwnedByTheHiddenWindowWithItsCaption)
{
    Current_hwnd = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(Current_hwnd, nullptr);
    SetTimer(nullptr, 0, 200, pressOk);
    warn("Could not start BK2 Demo!");
    EXPECT_STREQ(seen.caption, "Brakkon 2");
    EXPECT_STREQ(seen.text, "Could not start BK2 Demo!");
    EXPECT_EQ(seen.owner, Current_hwnd);
    DestroyWindow(Current_hwnd);
}
