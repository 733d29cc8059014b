// The relay's command-line cut and number reading, one row a case.
#include <gtest/gtest.h>

#include <string>

#include "relay/relayargs.h"

namespace {
struct Row {
    const char* cmdline;  // the whole command line as the system hands it over
    const char* tail;     // what the start-up leaves as the argument
    int32_t code;         // what is posted
};

const Row kRows[] = {
    {"brakpass.exe", "", 0},
    {"brakpass.exe x1", "x1", 0},
    {"brakpass.exe   1", "1", 1},  // the cut takes the blanks, atol would too
    {"brakpass.exe 1abc", "1abc", 1},
    {"brakpass.exe -5", "-5", -5},
    {"brakpass.exe \"1\"", "\"1\"", 0},  // quotes stay, so it reads as 0
    {"brakpass.exe 1 0", "1 0", 1},
    {"brakpass.exe 4294967297", "4294967297", 1},
    {"\"D:\\My Demo\\brakpass.exe\" 1", "1", 1},
    {"\"D:\\My Demo\\brakpass.exe\"1", "1", 1},  // nothing between the quote and the number
    {"  \t brakpass\t\t0", "0", 0},
    {"\"unterminated 1", "", 0},
    {"brakpass.exe \t\v1", "\v1", 1},  // the cut stops at \v, atol skips it
    {"brakpass.exe +7", "+7", 7},
    {"brakpass.exe 2147483648", "2147483648", INT32_MIN},
    {"brakpass.exe -2147483648", "-2147483648", INT32_MIN},
    {"brakpass.exe 4294967295", "4294967295", -1},
    {"brakpass.exe 99999999999999999999", "99999999999999999999", static_cast<int32_t>(1661992959)},
    {"brakpass.exe - 1", "- 1", 0},
    {"brakpass.exe +-1", "+-1", 0},
};

TEST(RelayArgs, TableOfCommandLines)
{
    for (const Row& r : kRows) {
        SCOPED_TRACE(r.cmdline);
        const char* tail = commandTail(r.cmdline);
        EXPECT_STREQ(tail, r.tail);
        EXPECT_EQ(atolWrap(tail), r.code);
    }
}

TEST(RelayArgs, WrapsLikeAThirtyTwoBitAccumulator)
{
    // A decimal text of n read with 32-bit wraparound is n modulo 2^32, and a
    // minus sign negates modulo 2^32: the model takes n's low 32 bits.
    uint64_t n = 1;
    for (int i = 0; i < 40; ++i, n = n * 7 + 3) {
        char text[32];
        snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(n));
        SCOPED_TRACE(text);
        const uint32_t low = static_cast<uint32_t>(n & 0xFFFFFFFFu);
        EXPECT_EQ(static_cast<uint32_t>(atolWrap(text)), low);
        EXPECT_EQ(static_cast<uint32_t>(atolWrap((std::string("-") + text).c_str())),
                  static_cast<uint32_t>((0x100000000ull - low) & 0xFFFFFFFFu));
    }
}
}  // namespace
