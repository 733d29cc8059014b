// The bar's fill rectangles and the bump scale, against worked values.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "launcher/cbar/cbargeom.h"

// Beside CBarRect (the global namespace), where GoogleTest finds them.
static bool operator==(const CBarRect& a, const CBarRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static void PrintTo(const CBarRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {
struct FillCase {
    int width, height, percent;
    CBarRect outline, highlight, shadow, face;
};

// A 249 x 23 bar unless noted. Under 7 filled pixels the inner rectangles would be
// inverted; they come out empty at their left/top edge.
const FillCase kFills[] = {
    {249, 23, 50, {0, 0, 124, 23}, {1, 1, 123, 22}, {3, 3, 123, 22}, {3, 3, 121, 20}},
    {249, 23, 0, {0, 0, 0, 23}, {1, 1, 1, 22}, {3, 3, 3, 22}, {3, 3, 3, 20}},
    {100, 23, 5, {0, 0, 5, 23}, {1, 1, 4, 22}, {3, 3, 4, 22}, {3, 3, 3, 20}},
    {100, 23, 6, {0, 0, 6, 23}, {1, 1, 5, 22}, {3, 3, 5, 22}, {3, 3, 3, 20}},
    {100, 23, 7, {0, 0, 7, 23}, {1, 1, 6, 22}, {3, 3, 6, 22}, {3, 3, 4, 20}},
    {249, 23, 100, {0, 0, 249, 23}, {1, 1, 248, 22}, {3, 3, 248, 22}, {3, 3, 246, 20}},
    // Not clamped: reaches past the control, whose clip drops the right-hand outline.
    {249, 23, 150, {0, 0, 373, 23}, {1, 1, 372, 22}, {3, 3, 372, 22}, {3, 3, 370, 20}},
    // Truncation toward zero: -10 * 249 / 100 is -24, not -25.
    {249, 23, -10, {0, 0, 0, 23}, {1, 1, 1, 22}, {3, 3, 3, 22}, {3, 3, 3, 20}},
    // Too low for any bevel: everything but the outline's column is empty.
    {249, 4, 50, {0, 0, 124, 4}, {1, 1, 123, 3}, {3, 3, 123, 3}, {3, 3, 121, 3}},
};

TEST(CBarFills, TableOfPercentsAndSizes)
{
    for (const FillCase& c : kFills) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.percent);
        const CBarFills f = cbarFills(c.width, c.height, c.percent);
        EXPECT_EQ(f.back, (CBarRect{0, 0, c.width, c.height}));
        EXPECT_EQ(f.outline, c.outline);
        EXPECT_EQ(f.highlight, c.highlight);
        EXPECT_EQ(f.shadow, c.shadow);
        EXPECT_EQ(f.face, c.face);
    }
}

TEST(CBarFills, FilledRightTruncatesAndWrapsLike32BitInts)
{
    EXPECT_EQ(cbarFilledRight(249, 50), 124);
    EXPECT_EQ(cbarFilledRight(249, 1), 2);
    EXPECT_EQ(cbarFilledRight(249, -1), -2);
    EXPECT_EQ(cbarFilledRight(249, -10), -24);
    // 249 * 20,000,000 = 4,980,000,000 wraps to 685,032,704.
    EXPECT_EQ(cbarFilledRight(249, 20000000), 6850327);
    // An odd width times INT_MIN wraps to INT_MIN itself.
    EXPECT_EQ(cbarFilledRight(249, INT_MIN), INT_MIN / 100);
    EXPECT_EQ(cbarFilledRight(2, INT_MAX), 0);  // 2 * INT_MAX wraps to -2
    // Extreme values still give well-formed rectangles (the sanitizers watch for UB).
    for (int p : {INT_MIN, INT_MIN + 1, -1, INT_MAX}) {
        const CBarFills f = cbarFills(INT_MAX, INT_MAX, p);
        EXPECT_LE(f.face.left, f.face.right);
        EXPECT_LE(f.face.top, f.face.bottom);
    }
}

std::vector<int> bumps(int nobumps, int n)
{
    std::vector<int> shown;
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const CBarBump b = cbarBump(count, nobumps);
        count = b.count;
        shown.push_back(b.percent);
    }
    return shown;
}

TEST(CBarBump, ScalesTruncateAndRunPast100)
{
    EXPECT_EQ(bumps(3, 4), (std::vector<int>{33, 66, 100, 133}));
    EXPECT_EQ(bumps(7, 7), (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));
    EXPECT_EQ(bumps(1, 2), (std::vector<int>{100, 200}));
    EXPECT_EQ(bumps(200, 3), (std::vector<int>{0, 1, 1}));
}

TEST(CBarBump, CountStopsAtIntMax)
{
    EXPECT_EQ(cbarBump(INT_MAX - 1, 100).count, INT_MAX);
    const CBarBump last = cbarBump(INT_MAX, 100);
    EXPECT_EQ(last.count, INT_MAX);
    EXPECT_EQ(last.percent, -1);  // INT_MAX * 100 wraps to -100
}
}  // namespace
