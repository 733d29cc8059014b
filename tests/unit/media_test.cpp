// The media generator: sizes add up, and what it writes is what FILES.TXT says.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>

#include "media/filelist.h"
#include "media/media.h"

namespace fs = std::filesystem;

namespace {
std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path hostPath(const fs::path& root, const char* entry)
{
    std::string rel(entry);
    for (char& c : rel)
        if (c == '\\')
            c = '/';
    return root / rel;
}

int indexOf(const char* entry)
{
    for (int i = 0; i < INSTALL_COUNT; ++i)
        if (strcmp(installManifest[i], entry) == 0)
            return i;
    return -1;
}

bool isData(int i)
{
    const std::string e = installManifest[i];
    return e.size() > 4 && e.compare(e.size() - 4, 4, ".BK2") == 0;
}

class Media : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("mkmedia_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        game = dir / "built-game.exe";
        std::ofstream(game, std::ios::binary) << std::string(54321, 'G');
        program = dir / "register.exe";
        std::ofstream(program, std::ios::binary) << "MZ follow-up";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir, game, program;
};
}  // namespace

TEST(MediaPlan, AddsUpToTheProgressTotalWithTheDataFilesBiggest)
{
    for (uint32_t gameSize : {0u, 54784u, 700000u}) {
        const std::vector<uint32_t> sizes = planSizes(gameSize);
        ASSERT_EQ(sizes.size(), static_cast<size_t>(INSTALL_COUNT));
        EXPECT_EQ(std::accumulate(sizes.begin(), sizes.end(), uint64_t{0}), MEDIA_TARGET_BYTES);
        EXPECT_EQ(sizes[indexOf("Brakdemo.exe")], gameSize);
        EXPECT_GT(sizes[indexOf("FILES.TXT")], 0u);

        uint32_t smallestData = UINT32_MAX, biggestOther = 0;
        for (int i = 0; i < INSTALL_COUNT; ++i) {
            if (isData(i))
                smallestData = std::min(smallestData, sizes[i]);
            else if (i != indexOf("Brakdemo.exe"))
                biggestOther = std::max(biggestOther, sizes[i]);
        }
        EXPECT_GT(smallestData, biggestOther) << gameSize;
    }
}

TEST(MediaPlan, ContentsAreReproducibleAndDifferBetweenFiles)
{
    EXPECT_EQ(sampleContents(7, 1001), sampleContents(7, 1001));
    EXPECT_NE(sampleContents(7, 1001), sampleContents(8, 1001));
    const std::vector<unsigned char> longer = sampleContents(7, 1003);
    EXPECT_TRUE(std::equal(longer.begin(), longer.begin() + 1001, sampleContents(7, 1001).begin()));
    EXPECT_TRUE(sampleContents(3, 0).empty());
}

TEST_F(Media, EveryFileMatchesItsListLine)
{
    std::string error;
    const int64_t total = makeMedia((dir / "media").string(), game.string(), {program.string()}, &error);
    ASSERT_GT(total, 0) << error;
    const fs::path media = dir / "media";

    const std::string list = slurp(media / "FILES.TXT");
    ListEntry entries[INSTALL_COUNT];
    ASSERT_EQ(parseList(list.data(), list.size(), entries, INSTALL_COUNT, nullptr), INSTALL_COUNT - 1);

    int64_t onDisk = 0;
    for (const char* e : installManifest) {
        const fs::path path = hostPath(media, e);
        ASSERT_TRUE(fs::is_regular_file(path)) << e;
        const std::string data = slurp(path);
        onDisk += static_cast<int64_t>(data.size());
        if (strcmp(e, "FILES.TXT") == 0) {
            EXPECT_EQ(findListEntry(entries, INSTALL_COUNT - 1, e), nullptr);
            continue;
        }
        const ListEntry* listed = findListEntry(entries, INSTALL_COUNT - 1, e);
        ASSERT_NE(listed, nullptr) << e;
        EXPECT_EQ(listed->size, data.size()) << e;
        EXPECT_EQ(listed->crc, crc32Update(0, data.data(), data.size())) << e;
    }
    EXPECT_EQ(total, onDisk);
    EXPECT_EQ(static_cast<uint64_t>(total), MEDIA_TARGET_BYTES);
    EXPECT_EQ(slurp(media / "autorun.inf"), AUTORUN_INF);
    EXPECT_EQ(slurp(media / "Brakdemo.exe"), slurp(game));
    EXPECT_EQ(slurp(media / "register.exe"), "MZ follow-up");
}

TEST_F(Media, IsTheSameEveryTime)
{
    std::string error;
    ASSERT_GT(makeMedia((dir / "a").string(), game.string(), {}, &error), 0) << error;
    ASSERT_GT(makeMedia((dir / "b").string(), game.string(), {}, &error), 0) << error;
    EXPECT_EQ(slurp(dir / "a" / "FILES.TXT"), slurp(dir / "b" / "FILES.TXT"));
}

TEST_F(Media, FailsOnAMissingProgram)
{
    std::string error;
    EXPECT_EQ(makeMedia((dir / "m").string(), (dir / "nope.exe").string(), {}, &error), -1);
    EXPECT_NE(error.find("nope.exe"), std::string::npos) << error;

    error.clear();
    EXPECT_EQ(makeMedia((dir / "m").string(), game.string(), {(dir / "gone.exe").string()}, &error),
              -1);
    EXPECT_NE(error.find("gone.exe"), std::string::npos) << error;
}
