// The high-contrast-like colours the pictures paint a bar with: white text on black,
// a cyan highlight with black text over it.
#pragma once
#include "launcher/cbar/cbarlook.h"

// window, windowText, highlight, highlightText as 0x00BBGGRR
constexpr CBarSystemColours kShotScheme = {0x000000, 0xFFFFFF, 0xFFFF00, 0x000000};
