// The completion bar's arithmetic: fill rectangles and the bump scale.
#include "launcher/cbar/cbargeom.h"

#include <climits>
#include <cstdint>

namespace {
// a * b modulo 2^32 as a signed 32-bit value: unsigned arithmetic is defined to wrap,
// and the conversion back is spelt out so that it does not depend on the compiler.
int wrapMul(int a, int b)
{
    const uint32_t u = static_cast<uint32_t>(a) * static_cast<uint32_t>(b);
    return u <= INT32_MAX ? static_cast<int>(u) : -static_cast<int>(~u) - 1;
}

CBarRect rect(int left, int top, int right, int bottom)
{
    return {left, top, right < left ? left : right, bottom < top ? top : bottom};
}
}  // namespace

int cbarFilledRight(int width, int percent)
{
    return wrapMul(width, percent) / 100;
}

CBarFills cbarFills(int width, int height, int percent)
{
    const int r = cbarFilledRight(width, percent);
    return {
        rect(0, 0, width, height),
        rect(0, 0, r, height),
        rect(1, 1, r - 1, height - 1),
        rect(3, 3, r - 1, height - 1),
        rect(3, 3, r - 3, height - 3),
    };
}

CBarBump cbarBump(int bumpcnt, int nobumps)
{
    const int count = bumpcnt < INT_MAX ? bumpcnt + 1 : INT_MAX;
    return {count, wrapMul(count, 100) / nobumps};
}
