// The install's progress: block counting against a byte-at-a-time model, and
// the boundaries a user sees on the bar.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "launcher/progress.h"
#include "tests/common/bytemodel.h"

namespace {
// The launcher's counters (its total is a double).
struct Counters {
    double total_copied = 0;
    int numbytes = 0;
    int percent = 0;
};

// The launcher's way: blocks of `block` bytes, each walked with countCopied.
void blockCopy(Counters& c, long long bytes, size_t block, std::vector<ModelUpdate>& out)
{
    while (bytes > 0) {
        size_t len = bytes < static_cast<long long>(block) ? static_cast<size_t>(bytes) : block;
        bytes -= static_cast<long long>(len);
        while (len > 0) {
            bool due = false;
            const size_t k = countCopied(c.total_copied, c.numbytes, c.percent, len, due);
            ASSERT_GT(k, 0u);
            ASSERT_LE(k, len);
            len -= k;
            if (due)
                out.push_back({c.percent, static_cast<uint64_t>(c.total_copied)});
        }
    }
}

std::vector<ModelUpdate> updatesOf(long long bytes, int startNumbytes = 0)
{
    Counters c;
    c.numbytes = startNumbytes;
    std::vector<ModelUpdate> out;
    blockCopy(c, bytes, 65536, out);
    return out;
}
}  // namespace

TEST(InstallProgress, BlocksGiveTheByteModelsUpdatesOverRandomInstalls)
{
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> fileCount(1, 12);
    std::uniform_int_distribution<int> sizeKind(0, 3);
    std::uniform_int_distribution<long long> small(0, 30000), large(0, 150000);
    std::uniform_int_distribution<int> start(0, 12000);
    const size_t blocks[] = {7, 4096, 12000, 12001, 65536};
    for (int round = 0; round < 100; ++round) {
        // Two installs in a row: numbytes carries over, total and percent restart.
        ModelState model;
        Counters ours;
        model.numbytes = ours.numbytes = start(rng);
        const size_t block = blocks[static_cast<size_t>(round) % 5];
        for (int install = 0; install < 2; ++install) {
            model.copied = 0;
            model.percent = 0;
            ours.total_copied = 0;
            ours.percent = 0;
            std::vector<ModelUpdate> expected, got;
            const int files = fileCount(rng);
            for (int f = 0; f < files; ++f) {
                const int kind = sizeKind(rng);
                const long long size = kind == 0 ? 0 : kind == 1 ? small(rng) : large(rng);
                countBytes(model, static_cast<uint64_t>(size), expected);
                blockCopy(ours, size, block, got);
            }
            ASSERT_EQ(got, expected) << "round " << round << " install " << install;
            ASSERT_EQ(ours.numbytes, model.numbytes);
            ASSERT_EQ(ours.percent, model.percent);
            ASSERT_EQ(ours.total_copied, static_cast<double>(model.copied));
        }
    }
}

TEST(InstallProgress, BoundariesOfTheBar)
{
    const std::vector<ModelUpdate> u = updatesOf(240020);
    ASSERT_EQ(u.size(), 20u);
    EXPECT_EQ(u[0], (ModelUpdate{0, 12001}));   // first update, still 0
    EXPECT_EQ(u[8], (ModelUpdate{0, 108009}));  // the ninth
    EXPECT_EQ(u[9], (ModelUpdate{1, 120010}));  // the tenth is the first to show 1
    EXPECT_TRUE(updatesOf(12000).empty());  // fewer than 12,001 bytes: no update
    EXPECT_EQ(updatesOf(12001).size(), 1u);

    // A carried-over numbytes brings the first update forward.
    const std::vector<ModelUpdate> carried = updatesOf(1, 12000);
    ASSERT_EQ(carried.size(), 1u);
    EXPECT_EQ(carried[0], (ModelUpdate{0, 1}));

    int numbytes = 0;
    const std::vector<ModelUpdate> all = updatesOf(23000000);
    EXPECT_EQ(all, byteModel({23000000}, numbytes));
    EXPECT_EQ(all.back().percent, 100);
}

TEST(InstallProgress, PercentIsTheQuotientBy115000ClampedAt100)
{
    // Every byte count up to twice the expected total: the double formula never
    // lands one below the integer quotient.
    for (long t = 0; t <= 23000000; ++t) {
        const long q = t / 115000;
        ASSERT_EQ(installPercent(static_cast<double>(t)), q > 100 ? 100 : q) << t;
    }
    EXPECT_EQ(installPercent(11499999), 99);
    EXPECT_EQ(installPercent(11500000), 100);
    EXPECT_EQ(installPercent(4e9), 100);
}

TEST(ResolvesInPlace, OnlyTheEntryItselfPasses)
{
    struct Row {
        const char* file;
        const char* dir;
        const char* name;
        bool inPlace;
    } rows[] = {
        {"\\\\?\\C:\\T\\BK2DEMO\\Brakdemo.exe", "\\\\?\\C:\\T\\BK2DEMO", "Brakdemo.exe", true},
        {"\\\\?\\C:\\T\\BK2DEMO\\BRAKDEMO.EXE", "\\\\?\\C:\\T\\BK2DEMO\\", "brakdemo.exe", true},
        {"\\\\?\\Z:\\home\\user\\notes.txt", "\\\\?\\C:\\T\\BK2DEMO", "FILES.TXT", false},
        {"\\\\?\\C:\\T\\BK2DEMO\\SIM\\SIM.INI", "\\\\?\\C:\\T\\BK2DEMO", "SIM.INI", false},
        {"\\\\?\\C:\\T\\BK2DEMO\\OTHER.INI", "\\\\?\\C:\\T\\BK2DEMO", "SIM.INI", false},
        {"\\\\?\\C:\\T\\BK2DEMOX\\SIM.INI", "\\\\?\\C:\\T\\BK2DEMO", "SIM.INI", false},
        {"\\\\?\\C:\\T\\BK2DEMO\\", "\\\\?\\C:\\T\\BK2DEMO", "", false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(resolvesInPlace(r.file, r.dir, r.name, NO_LEAD_BYTES), r.inPlace)
            << r.file << " / " << r.name;
}
