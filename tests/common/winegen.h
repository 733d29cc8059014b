// Which Wine a test program runs under, found at run time, so that a skip can
// name the generation whose gap it works around.
#pragma once
#include <string>

// Wine's major version (8, 10, ...); 0 on Windows.
int wineMajor();
// "Wine 10.0", say, or "Windows"; for skip reasons.
std::string wineName();
