// The completion bar's arithmetic: the rectangles a bar paints and the bump scale.
// Plain values only, so that it builds and is tested on the host.
#pragma once

struct CBarRect {
    int left, top, right, bottom;
};

// What the bar fills, in painting order: the light-gray back over the whole control,
// then the filled part's black outline, white highlight, gray shadow and light-gray face.
// A rectangle that would come out inverted (a filled part under 7 pixels) is empty
// instead; one that reaches past the control is left whole for the clip to cut.
struct CBarFills {
    CBarRect back, outline, highlight, shadow, face;
};

// The filled part's right edge: width * percent / 100, truncated toward zero. The
// product wraps modulo 2^32 like the 32-bit arithmetic it stands for, never overflows.
int cbarFilledRight(int width, int percent);

// width and height are the control's client size (both >= 0).
CBarFills cbarFills(int width, int height, int percent);

// One bump more along a scale of nobumps (> 0) bumps to 100: the new count, which
// stops at INT_MAX rather than wrapping, and the percent it shows (product wraps).
struct CBarBump {
    int count;
    int percent;
};
CBarBump cbarBump(int bumpcnt, int nobumps);
