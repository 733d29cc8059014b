// The sample game's checksum list: CRC-32 vectors, the line format both ways,
// and the lookup the game makes for every file it was given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/filelist.h"

namespace {
uint32_t crcOf(const std::string& s)
{
    return crc32Update(0, s.data(), s.size());
}

ListEntry entry(uint32_t crc, uint32_t size, const std::string& path)
{
    ListEntry e = {};
    e.crc = crc;
    e.size = size;
    path.copy(e.path, sizeof e.path - 1);
    return e;
}

// Parses from a buffer of exactly len bytes, so that a read past the line's
// end shows under AddressSanitizer.
bool parseExact(const std::string& line, ListEntry* out)
{
    std::vector<char> exact(line.begin(), line.end());
    return parseListLine(exact.data(), exact.size(), out);
}
}  // namespace

TEST(Crc32, KnownVectors)
{
    EXPECT_EQ(crcOf(""), 0u);
    EXPECT_EQ(crcOf("a"), 0xE8B7BE43u);
    EXPECT_EQ(crcOf("123456789"), 0xCBF43926u);
    EXPECT_EQ(crcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(Crc32, PiecewiseEqualsWhole)
{
    const std::string s = "The quick brown fox jumps over the lazy dog";
    for (size_t cut = 0; cut <= s.size(); ++cut) {
        const uint32_t first = crc32Update(0, s.data(), cut);
        EXPECT_EQ(crc32Update(first, s.data() + cut, s.size() - cut), 0x414FA339u) << cut;
    }
}

TEST(ListLine, Formats)
{
    char out[128];
    const struct {
        ListEntry entry;
        std::string line;
    } rows[] = {
        {entry(0x0000ABCD, 0, "X"), "0000abcd 0 X\r\n"},
        {entry(0xCBF43926, 4294967295u, "DEMODATA\\BK01.BK2"), "cbf43926 4294967295 DEMODATA\\BK01.BK2\r\n"},
        {entry(0, 12, "SIM\\MY FILE.TXT"), "00000000 12 SIM\\MY FILE.TXT\r\n"},
        {entry(1, 1, std::string(LIST_PATH_MAX - 1, 'p')),
         "00000001 1 " + std::string(LIST_PATH_MAX - 1, 'p') + "\r\n"},
    };
    for (const auto& row : rows) {
        const size_t n = formatListLine(out, sizeof out, row.entry);
        EXPECT_EQ(std::string(out, n), row.line);
    }
}

TEST(ListLine, FormatRefusesWhatCannotBeReadBack)
{
    char out[128];
    EXPECT_EQ(formatListLine(out, sizeof out, entry(1, 1, "")), 0u);
    EXPECT_EQ(formatListLine(out, sizeof out, entry(1, 1, "A\nB")), 0u);
    EXPECT_EQ(formatListLine(out, sizeof out, entry(1, 1, "A\rB")), 0u);

    ListEntry unterminated = entry(1, 1, "");
    std::fill(unterminated.path, unterminated.path + LIST_PATH_MAX, 'q');
    EXPECT_EQ(formatListLine(out, sizeof out, unterminated), 0u);

    // "00000001 1 AB\r\n" is 15 bytes: it fits 15, not 14, and 14 stays untouched.
    char small[15];
    std::fill(small, small + sizeof small, '#');
    EXPECT_EQ(formatListLine(small, 14, entry(1, 1, "AB")), 0u);
    EXPECT_EQ(small[0], '#');
    EXPECT_EQ(formatListLine(small, 15, entry(1, 1, "AB")), 15u);
}

TEST(ListLine, Parses)
{
    const std::string longPath(LIST_PATH_MAX - 1, 'p');
    const struct {
        std::string line;
        bool ok;
        uint32_t crc, size;
        std::string path;
    } rows[] = {
        {"cbf43926 9 A.TXT", true, 0xCBF43926, 9, "A.TXT"},
        {"CBF43926 9 A.TXT\r", true, 0xCBF43926, 9, "A.TXT"},
        {"00000000 0 SIM\\MY FILE.TXT", true, 0, 0, "SIM\\MY FILE.TXT"},
        {"ffffffff 4294967295 X", true, 0xFFFFFFFF, 4294967295u, "X"},
        {"00000001 1 " + longPath, true, 1, 1, longPath},
        {"00000001 1 " + longPath + "p", false, 0, 0, ""},
        {"ffffffff 4294967296 X", false, 0, 0, ""},
        {"00000000 99999999999999999999999 X", false, 0, 0, ""},
        {"cbf4392 9 A", false, 0, 0, ""},
        {"cbf4392g 9 A", false, 0, 0, ""},
        {"cbf439261 9 A", false, 0, 0, ""},
        {"cbf43926  9 A", false, 0, 0, ""},
        {"cbf43926 -9 A", false, 0, 0, ""},
        {"cbf43926 9A", false, 0, 0, ""},
        {"cbf43926 9 ", false, 0, 0, ""},
        {"cbf43926 9", false, 0, 0, ""},
        {"cbf43926 ", false, 0, 0, ""},
        {"cbf4", false, 0, 0, ""},
        {"", false, 0, 0, ""},
        {std::string("00000000 1 A\0B", 14), false, 0, 0, ""},
        {"00000000 1 A\rB", false, 0, 0, ""},  // a line break the writer could not give back
    };
    for (const auto& row : rows) {
        ListEntry e = {};
        ASSERT_EQ(parseExact(row.line, &e), row.ok) << row.line;
        if (row.ok) {
            EXPECT_EQ(e.crc, row.crc) << row.line;
            EXPECT_EQ(e.size, row.size) << row.line;
            EXPECT_EQ(std::string(e.path), row.path) << row.line;
        }
    }
}

TEST(ListLine, RoundTrips)
{
    for (const ListEntry& in : {entry(0xDEADBEEF, 11500000, "SIM\\LAUNCH\\PAD6.SHP"),
                                entry(0, 0, "Brakdemo.exe"), entry(0x80000001, 7, "a b c")}) {
        char line[128];
        const size_t n = formatListLine(line, sizeof line, in);
        ASSERT_GT(n, 2u);
        ListEntry out = {};
        ASSERT_TRUE(parseExact(std::string(line, n - 1), &out));  // without the '\n'
        EXPECT_EQ(out.crc, in.crc);
        EXPECT_EQ(out.size, in.size);
        EXPECT_STREQ(out.path, in.path);
    }
}

TEST(List, SkipsBlankLinesAndTakesEitherLineBreak)
{
    const std::string text = "\r\n00000001 1 A\n\n00000002 2 B\r\n\r\n00000003 3 C";
    ListEntry entries[4];
    int bad = -7;
    ASSERT_EQ(parseList(text.data(), text.size(), entries, 4, &bad), 3);
    EXPECT_EQ(bad, -7);
    EXPECT_STREQ(entries[0].path, "A");
    EXPECT_STREQ(entries[2].path, "C");
    EXPECT_EQ(entries[2].size, 3u);
    EXPECT_EQ(parseList("", 0, entries, 4, nullptr), 0);
}

TEST(List, NamesTheFirstBadLineAndRefusesTooMany)
{
    ListEntry entries[2];
    int bad = 0;
    const std::string broken = "00000001 1 A\r\n\r\nnot a line\r\n00000002 2 B\r\n";
    EXPECT_EQ(parseList(broken.data(), broken.size(), entries, 2, &bad), -1);
    EXPECT_EQ(bad, 3);

    const std::string three = "00000001 1 A\n00000002 2 B\n00000003 3 C\n";
    EXPECT_EQ(parseList(three.data(), three.size(), entries, 2, &bad), -1);
    EXPECT_EQ(bad, 3);
    EXPECT_EQ(parseList(three.data(), three.size(), entries, 2, nullptr), -1);
}

TEST(List, FindsAPathWithoutRegardToCase)
{
    const ListEntry entries[] = {entry(1, 1, "Brakdemo.exe"), entry(2, 2, "SIM\\SIM.INI"),
                                 entry(3, 3, "SIM\\SIM.INI.BAK")};
    EXPECT_EQ(findListEntry(entries, 3, "brakdemo.EXE"), &entries[0]);
    EXPECT_EQ(findListEntry(entries, 3, "sim\\sim.ini"), &entries[1]);
    EXPECT_EQ(findListEntry(entries, 3, "SIM\\SIM.IN"), nullptr);
    EXPECT_EQ(findListEntry(entries, 3, "SIM\\SIM.INI.BAKX"), nullptr);
    EXPECT_EQ(findListEntry(entries, 2, "SIM\\SIM.INI.BAK"), nullptr);
    EXPECT_EQ(findListEntry(entries, 0, "Brakdemo.exe"), nullptr);
}
