// The launcher's warning box is owned by the hidden window and carries its caption.
#include <gtest/gtest.h>

#include "launcher/launcher.h"
#include "tests/win/boxrobot.h"

TEST(Warn, OwnedByTheHiddenWindowWithItsCaption)
{
    Current_hwnd = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(Current_hwnd, nullptr);
    startBoxRobot();  // answers only a box captioned "Brakkon 2"
    warn("Could not start BK2 Demo!");
    const std::vector<SeenBox> boxes = stopBoxRobot();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not start BK2 Demo!");
    EXPECT_EQ(boxes[0].owner, Current_hwnd);
    DestroyWindow(Current_hwnd);
}
