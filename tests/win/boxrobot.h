// Answers the launcher's warning boxes from inside the test's own thread: a
// thread timer, dispatched by the box's modal loop, records each box and presses OK.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct SeenBox {
    std::string text;
    HWND owner;
};

// Arms the robot; every "Brakkon 2" box this thread shows from now on is answered.
void startBoxRobot();
// Disarms it and returns the boxes seen, in order.
std::vector<SeenBox> stopBoxRobot();
