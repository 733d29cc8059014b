// What the bar paints with, and the position it reports to assistive tools.
// Plain values only, so that it builds and is tested on the host.
#pragma once
#include <cstdint>

// A colour as the system holds it: 0x00BBGGRR.
using CBarColour = std::uint32_t;

// The system colours a high-contrast bar is painted with.
struct CBarSystemColours {
    CBarColour window, windowText, highlight, highlightText;
};

// A colour for each of cbarFills' rectangles, and for the percent text where it lies
// over the filled part (left of the outline's right edge) and over the rest.
struct CBarColours {
    CBarColour back, outline, highlight, shadow, face, textOnFill, textOnBack;
};

// The fixed gray bevel, or with high contrast on a flat highlight-coloured filled part
// framed in the text colour on the window colour, its text readable on either part.
CBarColours cbarColours(bool highContrast, const CBarSystemColours& sys);

// The position the bar reports: the percent it shows, clamped to 0..100.
int cbarPosition(int percent);
