// Lets a test paint the bar as under high contrast, which Wine cannot switch on.
#pragma once
#include "launcher/cbar/hicontrast.h"

extern bool fakeHighContrast;  // off unless a test sets it
