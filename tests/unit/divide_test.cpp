// The 64-bit division helpers of our own runtime for i686, against the host's
// division, at the edges of the 32-bit quick way and the bit-at-a-time one.
#include <gtest/gtest.h>

#include "crt/divide.h"

namespace {
struct DivRow {
    uint64_t n, d;
};

const DivRow kDivisions[] = {
    {0, 1},
    {7, 10},
    {0xFFFFFFFFu, 10},
    {0xFFFFFFFFu, 0xFFFFFFFFu},
    {0x100000000ull, 10},                // just past the quick way
    {0xFFFFFFFFu, 0x100000000ull},       // a divisor past 32 bits, larger than n
    {0x100000000ull, 0x100000000ull},
    {0x1FFFFFFFFull, 0x100000001ull},
    {133456789012345678ull, 10},         // a file time, as the start record writes it
    {0xFFFFFFFFFFFFFFFFull, 10},
    {0xFFFFFFFFFFFFFFFFull, 1},
    {0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull},
    {0xFFFFFFFFFFFFFFFFull, 0x8000000000000000ull},
    {0x8000000000000000ull, 3},
    {0x123456789ABCDEF0ull, 0x0FEDCBA9ull},
};

TEST(Divide, MatchesTheProcessor)
{
    for (const DivRow& row : kDivisions) {
        SCOPED_TRACE(testing::Message() << row.n << " / " << row.d);
        uint64_t r = 7;
        EXPECT_EQ(__udivmoddi4(row.n, row.d, &r), row.n / row.d);
        EXPECT_EQ(r, row.n % row.d);
        EXPECT_EQ(__udivdi3(row.n, row.d), row.n / row.d);
        EXPECT_EQ(__umoddi3(row.n, row.d), row.n % row.d);
    }
}
}  // namespace
