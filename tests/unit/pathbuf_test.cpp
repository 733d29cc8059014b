// Bounded path joining: exact fits pass, one character more is refused whole.
#include <gtest/gtest.h>

#include <string>

#include "launcher/pathbuf.h"

TEST(PathJoin, FitsUpToTheTerminatorAndRefusesOneMore)
{
    char out[PATH_BUF];
    const std::string a(180, 'a');
    ASSERT_TRUE(pathJoin(out, sizeof out, a.c_str(), "\\BK2DEMO\\SIM\\LAUNCH"));  // 199 + NUL
    EXPECT_EQ(std::string(out), a + "\\BK2DEMO\\SIM\\LAUNCH");

    const std::string b(181, 'b');
    EXPECT_FALSE(pathJoin(out, sizeof out, b.c_str(), "\\BK2DEMO\\SIM\\LAUNCH"));
    EXPECT_STREQ(out, "");

    EXPECT_TRUE(pathJoin(out, sizeof out, "C:", "\\BK2DEMO", "\\x"));
    EXPECT_STREQ(out, "C:\\BK2DEMO\\x");
    EXPECT_FALSE(pathJoin(out, 3, "ab", "", "c"));
    EXPECT_FALSE(pathJoin(out, 0, "", ""));
}

TEST(PathJoin, MayBuildFromItsOwnBuffer)
{
    char out[PATH_BUF] = "C:\\TEMP";
    ASSERT_TRUE(pathJoin(out, sizeof out, out, "\\BK2DEMO"));
    EXPECT_STREQ(out, "C:\\TEMP\\BK2DEMO");
    // A tail of the buffer as the first part: source and destination overlap.
    ASSERT_TRUE(pathJoin(out, sizeof out, out + 3, "\\SIM"));
    EXPECT_STREQ(out, "TEMP\\BK2DEMO\\SIM");
}
