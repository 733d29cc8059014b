// Paths in the double-byte ANSI code pages: a trail byte that reads as a
// backslash or a capital letter must stay part of its character.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "launcher/pathbuf.h"
#include "launcher/prepcore.h"
#include "launcher/progress.h"

namespace {
struct CodePage {
    int number;
    // Lead-byte ranges as the code page's own table gives them (Microsoft's
    // best-fit tables, DBCSRANGE; what IsDBCSLeadByteEx answers).
    std::vector<std::pair<int, int>> leads;
    const char* backslashTrail;  // a letter whose second byte is 0x5C; 949 has none
    const char* capitalTrail;    // one whose second byte is in 0x41..0x5A
    const char* lowerTwin;       // the same lead byte, that second byte + 0x20
};

const CodePage kPages[] = {
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}, "\x83\x5C" /* ソ */, "\x83\x41" /* ア */,
     "\x83\x61" /* ヂ */},
    {936, {{0x81, 0xFE}}, "\x81\x5C" /* 乗 */, "\x81\x41" /* 丄 */, "\x81\x61" /* 乤 */},
    {949, {{0x81, 0xFE}}, nullptr, "\x81\x41" /* 갂 */, "\x81\x61" /* 갵 */},
    {950, {{0x81, 0xFE}}, "\xA5\x5C" /* 功 */, "\xA4\x41" /* 乙 */, "\xA4\x61" /* 兀 */},
};

void PrintTo(const CodePage& p, std::ostream* os)
{
    *os << p.number;
}

LeadBytes leadBytesOf(const CodePage& p)
{
    LeadBytes lb = {};
    for (const auto& r : p.leads)
        for (int b = r.first; b <= r.second; ++b)
            lb.lead[b] = true;
    return lb;
}

std::string dropped(const std::string& s, const LeadBytes& lb)
{
    char buf[PATH_BUF];
    EXPECT_TRUE(pathJoin(buf, sizeof buf, s.c_str(), ""));
    dropTrailingBackslash(buf, lb);
    return buf;
}

class AnsiPaths : public ::testing::TestWithParam<CodePage> {};

TEST_P(AnsiPaths, TrailBytesStayInTheirCharacter)
{
    const CodePage& p = GetParam();
    const LeadBytes lb = leadBytesOf(p);
    // Letters with a trail byte of each kind, and one whose trail is a backslash.
    std::vector<std::string> letters = {p.capitalTrail, p.lowerTwin};
    if (p.backslashTrail)
        letters.push_back(p.backslashTrail);
    for (const std::string& z : letters) {
        SCOPED_TRACE(testing::PrintToString(z));
        ASSERT_TRUE(lb.lead[static_cast<unsigned char>(z[0])]);
        const std::string t = "Z:\\tmp\\Z" + z;

        // The trailing-backslash rule takes the last character, not the last byte.
        EXPECT_EQ(dropped(t, lb), t);
        EXPECT_EQ(dropped(t + "\\", lb), t);
        EXPECT_EQ(dropped(t + "\\\\", lb), t + "\\");
        EXPECT_EQ(lastCharStart(t.c_str(), t.size(), lb), t.size() - 2);

        // The last backslash is the one before the letter, never its trail byte.
        const std::string root = t + "BK2DEMO";
        EXPECT_EQ(lastBackslash(root.c_str(), lb), root.c_str() + 6);
        const std::string file = t + "\\BK2DEMO";
        EXPECT_EQ(lastBackslash(file.c_str(), lb), file.c_str() + t.size());

        // Room: a T one byte past the limit stays refused when it ends in the letter.
        const size_t limit = 170;  // as prepcore_test: 200 - 1 - "\BK2DEMO\" - 20
        const std::string fits = std::string(limit - 2, 'x') + z;
        EXPECT_TRUE(tempLeavesRoom(fits.c_str(), lb));
        EXPECT_TRUE(tempLeavesRoom((fits + "\\").c_str(), lb));
        EXPECT_FALSE(tempLeavesRoom(("x" + fits).c_str(), lb));

        // A tree entry under T resolves in place; the letter's case is its own.
        const std::string resolved = "\\\\?\\" + t;
        EXPECT_TRUE(resolvesInPlace((resolved + "\\BK2DEMO").c_str(), resolved.c_str(),
                                    "bk2demo", lb));
        EXPECT_TRUE(resolvesInPlace((resolved + "\\BK2DEMO").c_str(), (resolved + "\\").c_str(),
                                    "BK2DEMO", lb));
    }

    // A case-blind compare folds ASCII letters, never a trail byte: the two
    // letters differ although their second bytes differ only by 0x20.
    const std::string a = std::string("Dir") + p.capitalTrail + "x";
    const std::string b = std::string("dIR") + p.lowerTwin + "X";
    EXPECT_FALSE(sameTextNoCase(a.c_str(), b.c_str(), a.size(), lb));
    EXPECT_TRUE(sameTextNoCase(a.c_str(), (std::string("dIR") + p.capitalTrail + "X").c_str(),
                               a.size(), lb));
    EXPECT_FALSE(resolvesInPlace(("\\\\?\\Z:\\" + b + "\\BK2DEMO").c_str(),
                                 ("\\\\?\\Z:\\" + a).c_str(), "BK2DEMO", lb))
        << "a folder of another name counted as the same";

    // The walk matters only where the table says so: bytes are all single
    // without it, and the backslash trail then reads as a backslash.
    if (p.backslashTrail) {
        const std::string t = std::string("Z:\\tmp\\Z") + p.backslashTrail;
        EXPECT_EQ(dropped(t, NO_LEAD_BYTES), t.substr(0, t.size() - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, AnsiPaths, ::testing::ValuesIn(kPages),
                         [](const ::testing::TestParamInfo<CodePage>& info) {
                             return "cp" + std::to_string(info.param.number);
                         });
}  // namespace
