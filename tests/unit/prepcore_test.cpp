// Play preparation decisions: requirement boundaries, the choice of the
// temporary directory, and the room a chosen directory must leave.
#include <gtest/gtest.h>

#include <string>

#include "launcher/manifest.h"
#include "launcher/pathbuf.h"
#include "launcher/prepcore.h"

TEST(Requirements, MemoryAndDiskBoundaries)
{
    EXPECT_TRUE(memoryQualifies(11500000));
    EXPECT_FALSE(memoryQualifies(11499999));
    EXPECT_FALSE(memoryQualifies(0));
    EXPECT_TRUE(memoryQualifies(0xFFFFFFFFu));

    EXPECT_TRUE(diskQualifies(15000000));
    EXPECT_FALSE(diskQualifies(14999999));
    EXPECT_FALSE(diskQualifies(0));
}

TEST(Requirements, FreeBytesAreTheProductIn64Bits)
{
    struct Row {
        uint32_t clusters, bytesPerSector, sectorsPerCluster;
        uint64_t bytes;
        bool qualifies;
    };
    const Row rows[] = {
        {1875000, 8, 1, 15000000, true},
        {14999999, 1, 1, 14999999, false},
        {3662, 512, 8, 14999552, false},                  // one cluster short of 15,000,000
        {3663, 512, 8, 15003648, true},
        {1048576, 4096, 8, 34359738368ull, true},         // 2^35: wraps to 0 in 32 bits
        {1048577, 4096, 1, 4294971392ull, true},          // wraps to 4096 in 32 bits
        {0xFFFFFFFFu, 0xFFFFFFFFu, 1, 0xFFFFFFFE00000001ull, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bytes);
        const uint64_t got = freeBytes(r.clusters, r.bytesPerSector, r.sectorsPerCluster);
        EXPECT_EQ(got, r.bytes);
        EXPECT_EQ(diskQualifies(got), r.qualifies);
    }
}

// Values as Microsoft documents them; a directory on NT often carries the
// harmless ones, and refusing it sends the tree to C:\ for nothing.
TEST(Attributes, ADirectoryIsUsableUnlessAFlagForbidsIt)
{
    const struct {
        const char* name;
        uint32_t bit;
        bool harmless;
    } rows[] = {
        {"archive", 0x20, true},
        {"not content indexed", 0x2000, true},
        {"compressed", 0x800, true},
        {"encrypted", 0x4000, true},
        {"temporary", 0x100, true},
        {"sparse", 0x200, true},
        {"pinned", 0x80000, true},
        {"read-only", 0x1, false},
        {"hidden", 0x2, false},
        {"system", 0x4, false},
        {"reparse point", 0x400, false},
        {"offline", 0x1000, false},
        {"recall on open", 0x40000, false},
        {"recall on data access", 0x400000, false},
    };
    const uint32_t dir = 0x10;
    EXPECT_TRUE(usableDirectory(dir));
    uint32_t allHarmless = dir;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(usableDirectory(r.bit)) << "not a directory";
        EXPECT_EQ(usableDirectory(dir | r.bit), r.harmless);
        if (r.harmless)
            allHarmless |= r.bit;
        else
            EXPECT_FALSE(usableDirectory(allHarmless | r.bit)) << "among harmless bits";
    }
    EXPECT_TRUE(usableDirectory(allHarmless));
    EXPECT_FALSE(usableDirectory(0));
    EXPECT_FALSE(usableDirectory(ATTR_NONE)) << "a failed query sets every bit";
}

TEST(TempDir, DropsOneTrailingBackslash)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"E:\\SCRATCH\\", "E:\\SCRATCH"}, {"C:\\", "C:"},         {"D:\\TEMP", "D:\\TEMP"},
        {"D:\\TEMP\\\\", "D:\\TEMP\\"},    {"\\", ""},             {"", ""},
        {"D:/TEMP/", "D:/TEMP/"},
    };
    for (const auto& r : rows) {
        char buf[PATH_BUF];
        ASSERT_TRUE(pathJoin(buf, sizeof buf, r.in, ""));
        dropTrailingBackslash(buf, NO_LEAD_BYTES);
        EXPECT_STREQ(buf, r.out) << "from " << r.in;
    }
}

namespace {
const uint32_t DIR = 0x10;
TempCandidate unset() { return {false, false, "", ATTR_NONE}; }
TempCandidate var(const char* v, uint32_t attributes) { return {true, true, v, attributes}; }
}  // namespace

TEST(TempDir, FirstUsableCandidateElseDriveRoot)
{
    const std::string tooDeep(PATH_BUF - 1, 'x');
    const struct {
        const char* what;
        TempCandidate tmp, temp;
        const char* chosen;
    } rows[] = {
        {"TMP plain", var("D:\\TMP", DIR), var("D:\\TEMP", DIR), "D:\\TMP"},
        {"TMP trailing backslash", var("E:\\SCRATCH\\", DIR), unset(), "E:\\SCRATCH\\"},
        {"TMP hidden", var("D:\\.TMP", 0x12), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP read-only", var("D:\\TMP", 0x11), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP archive dir", var("D:\\TMP", 0x30), var("D:\\TEMP", DIR), "D:\\TMP"},
        {"TMP compressed", var("D:\\TMP", 0x810), unset(), "D:\\TMP"},
        {"TMP a link", var("D:\\TMP", 0x410), var("D:\\TEMP", 0x2010), "D:\\TEMP"},
        {"TMP a file", var("D:\\TMP", 0x20), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP missing path", var("D:\\TMP", ATTR_NONE), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP empty", var("", DIR), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP unset", unset(), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP too long to read", {true, false, "D:\\T", DIR}, var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP leaves no room", var(tooDeep.c_str(), DIR), var("D:\\TEMP", DIR), "D:\\TEMP"},
        {"TMP a file, TEMP unset", var("D:\\TMP", 0x20), unset(), "C:\\"},
        {"both unusable", var("D:\\TMP", 0x12), var("D:\\TEMP", 0x11), "C:\\"},
        {"neither set", unset(), unset(), "C:\\"},
    };
    for (const auto& r : rows) {
        const TempCandidate c[2] = {r.tmp, r.temp};
        EXPECT_STREQ(chooseTemp(c, 2, NO_LEAD_BYTES), r.chosen) << r.what;
    }
}

namespace {
// Every path the play cycle builds from T: the four directories, each install
// entry under dir0 and each removal entry under its directory.
bool everyPathFits(const std::string& value)
{
    char t[PATH_BUF], dir[DEMO_DIRS][PATH_BUF], file[PATH_BUF];
    if (!pathJoin(t, sizeof t, value.c_str(), ""))
        return false;
    dropTrailingBackslash(t, NO_LEAD_BYTES);
    for (int i = 0; i < DEMO_DIRS; ++i)
        if (!pathJoin(dir[i], PATH_BUF, t, demoDirSuffix[i]))
            return false;
    for (const char* entry : installManifest)
        if (!pathJoin(file, sizeof file, dir[0], "\\", entry))
            return false;
    const struct {
        const char* const* names;
        int count;
    } groups[] = {{removeRoot, REMOVE_ROOT},
                  {removeDemodata, REMOVE_DEMODATA},
                  {removeSim, REMOVE_SIM},
                  {removeLaunch, REMOVE_LAUNCH}};
    for (int g = 0; g < DEMO_DIRS; ++g)
        for (int i = 0; i < groups[g].count; ++i)
            if (!pathJoin(file, sizeof file, dir[g], "\\", groups[g].names[i]))
                return false;
    return true;
}
}  // namespace

TEST(TempDir, RoomIsExactlyWhatTheDeepestPathNeeds)
{
    // 200 characters less the terminator, "\BK2DEMO\" and the longest entry,
    // "DEMODATA\CREDITS.SMK" (20).
    const size_t longest = 170;

    // Accepted values build every path whole; one character more would overrun.
    const std::string fits(longest, 'x');
    EXPECT_TRUE(everyPathFits(fits));
    // The backslash goes before use.
    EXPECT_TRUE(tempLeavesRoom((fits + "\\").c_str(), NO_LEAD_BYTES));
    EXPECT_TRUE(everyPathFits(fits + "\\"));
    const std::string over(longest + 1, 'x');
    EXPECT_FALSE(tempLeavesRoom(over.c_str(), NO_LEAD_BYTES));
    EXPECT_FALSE(everyPathFits(over));
    EXPECT_FALSE(tempLeavesRoom((over + "\\").c_str(), NO_LEAD_BYTES));

    // As a candidate: the longest fitting T is taken, one longer passes to TEMP.
    const TempCandidate atLimit[2] = {var(fits.c_str(), DIR), var("D:\\TEMP", DIR)};
    EXPECT_EQ(chooseTemp(atLimit, 2, NO_LEAD_BYTES), fits.c_str());
    const TempCandidate beyond[2] = {var(over.c_str(), DIR), var("D:\\TEMP", DIR)};
    EXPECT_STREQ(chooseTemp(beyond, 2, NO_LEAD_BYTES), "D:\\TEMP");

    // The untested fallback must fit too.
    EXPECT_TRUE(tempLeavesRoom("C:\\", NO_LEAD_BYTES));
    EXPECT_TRUE(everyPathFits("C:\\"));
}
