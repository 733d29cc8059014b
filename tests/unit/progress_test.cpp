// The install's progress: block counting against a byte-at-a-time model, and
// the boundaries a user sees on the bar.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "launcher/progress.h"

namespace {
struct Update {
    double at;  // total bytes copied when the bar moved
    int shown;
    bool operator==(const Update& o) const { return at == o.at && shown == o.shown; }
};

struct Counters {
    double total_copied = 0;
    int numbytes = 0;
    int percent = 0;
};

// What a copy that moves one byte per step does, written out plainly.
void byteModel(Counters& c, long long bytes, std::vector<Update>& out)
{
    for (long long i = 0; i < bytes; ++i) {
        c.total_copied = c.total_copied + 1;
        c.numbytes = c.numbytes + 1;
        if (c.numbytes > 12000) {
            c.percent = static_cast<int>(c.total_copied * (1.0 / 11500000) * 100);
            if (c.percent > 100)
                c.percent = 100;
            out.push_back({c.total_copied, c.percent});
            c.numbytes = 0;
        }
    }
}

// The launcher's way: blocks of `block` bytes, each walked with countCopied.
void blockCopy(Counters& c, long long bytes, size_t block, std::vector<Update>& out)
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
                out.push_back({c.total_copied, c.percent});
        }
    }
}

std::vector<Update> updatesOf(long long bytes, int startNumbytes = 0)
{
    Counters c;
    c.numbytes = startNumbytes;
    std::vector<Update> out;
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
        Counters model, ours;
        model.numbytes = ours.numbytes = start(rng);
        const size_t block = blocks[static_cast<size_t>(round) % 5];
        for (int install = 0; install < 2; ++install) {
            model.total_copied = ours.total_copied = 0;
            model.percent = ours.percent = 0;
            std::vector<Update> expected, got;
            const int files = fileCount(rng);
            for (int f = 0; f < files; ++f) {
                const int kind = sizeKind(rng);
                const long long size = kind == 0 ? 0 : kind == 1 ? small(rng) : large(rng);
                byteModel(model, size, expected);
                blockCopy(ours, size, block, got);
            }
            ASSERT_EQ(got, expected) << "round " << round << " install " << install;
            ASSERT_EQ(ours.numbytes, model.numbytes);
            ASSERT_EQ(ours.percent, model.percent);
            ASSERT_EQ(ours.total_copied, model.total_copied);
        }
    }
}

TEST(InstallProgress, BoundariesOfTheBar)
{
    const std::vector<Update> u = updatesOf(240020);
    ASSERT_EQ(u.size(), 20u);
    EXPECT_EQ(u[0], (Update{12001, 0}));    // first update, still 0
    EXPECT_EQ(u[8], (Update{108009, 0}));   // the ninth
    EXPECT_EQ(u[9], (Update{120010, 1}));   // the tenth is the first to show 1
    EXPECT_TRUE(updatesOf(12000).empty());  // fewer than 12,001 bytes: no update
    EXPECT_EQ(updatesOf(12001).size(), 1u);

    // A carried-over numbytes brings the first update forward.
    const std::vector<Update> carried = updatesOf(1, 12000);
    ASSERT_EQ(carried.size(), 1u);
    EXPECT_EQ(carried[0], (Update{1, 0}));

    const std::vector<Update> all = updatesOf(23000000);
    ASSERT_FALSE(all.empty());
    for (const Update& x : all)
        ASSERT_EQ(x.shown, x.at >= 11500000 ? 100 : static_cast<int>(x.at) / 115000) << x.at;
    EXPECT_EQ(all.back().shown, 100);
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
        EXPECT_EQ(resolvesInPlace(r.file, r.dir, r.name), r.inPlace) << r.file << " / " << r.name;
}
