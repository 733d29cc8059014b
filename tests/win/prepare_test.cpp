// The play preparation on real directories: the memory seam's boundary, the
// choice of TMP or TEMP, the demo tree, and the cleanup after a failed tree.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/boxrobot.h"
#include "launcher/launcher.h"
#include "sysmem_fake.h"
#include "tests/common/testfs.h"
#include "tests/common/winegen.h"

namespace {
// A fresh folder under the test's working directory, with TMP and TEMP aimed at
// two plain directories inside it; a hidden owner window for the boxes.
class Prepare : public ::testing::Test {
protected:
    void SetUp() override
    {
        char cwd[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwd, cwd);
        root = std::string(cwd) + "\\prep_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        removeTree(root);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        tmp = root + "\\tmp";
        temp = root + "\\temp";
        CreateDirectoryA(tmp.c_str(), nullptr);
        CreateDirectoryA(temp.c_str(), nullptr);
        SetEnvironmentVariableA("TMP", tmp.c_str());
        SetEnvironmentVariableA("TEMP", temp.c_str());
        fakePhysicalMemory = 64u * 1024 * 1024;
        Current_hwnd = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(Current_hwnd, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(Current_hwnd);
        removeTree(root);
    }

    // preparePlay with the robot answering any box.
    bool prepare()
    {
        startBoxRobot();
        const bool ok = preparePlay();
        boxes = stopBoxRobot();
        return ok;
    }

    std::string root, tmp, temp;
    std::vector<SeenBox> boxes;
};
}  // namespace

TEST_F(Prepare, MemoryBoundaryDecidesBetweenWarningAndTree)
{
    const struct {
        SIZE_T memory;
        bool ok;
    } rows[] = {{11499999, false}, {11500000, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.memory);
        removeTree(tmp + "\\BK2DEMO");
        fakePhysicalMemory = r.memory;
        EXPECT_EQ(prepare(), r.ok);
        if (r.ok) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_TRUE(dirExists(tmp + "\\BK2DEMO\\SIM\\LAUNCH"));
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, "ERROR: BK2 requires a minimum of 12 MB of RAM.");
            EXPECT_EQ(boxes[0].owner, Current_hwnd);
            EXPECT_FALSE(dirExists(tmp + "\\BK2DEMO"));  // checked before anything is made
        }
    }
}

TEST_F(Prepare, BuildsTheTreeFromTWithoutItsTrailingBackslash)
{
    SetEnvironmentVariableA("TMP", (tmp + "\\").c_str());
    ASSERT_TRUE(prepare());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(std::string(dir0), tmp + "\\BK2DEMO");
    EXPECT_EQ(std::string(dir1), tmp + "\\BK2DEMO\\DEMODATA");
    EXPECT_EQ(std::string(dir2), tmp + "\\BK2DEMO\\SIM");
    EXPECT_EQ(std::string(dir3), tmp + "\\BK2DEMO\\SIM\\LAUNCH");
    for (const char* d : {dir0, dir1, dir2, dir3})
        EXPECT_TRUE(dirExists(d)) << d;
}

TEST_F(Prepare, LeftoverTreeIsAcceptedAsItIs)
{
    const std::string root0 = tmp + "\\BK2DEMO";
    CreateDirectoryA(root0.c_str(), nullptr);
    CreateDirectoryA((root0 + "\\SIM").c_str(), nullptr);
    writeText(root0 + "\\FILES.TXT", "old");
    ASSERT_TRUE(prepare());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(fileExists(root0 + "\\FILES.TXT"));
    EXPECT_TRUE(dirExists(root0 + "\\DEMODATA"));
}

TEST_F(Prepare, UnusableTmpPassesToTemp)
{
    // Hidden, set outright (Wine 8 keeps that only as a dot name), and a plain file.
    const std::string hidden = root + "\\hidden";
    CreateDirectoryA(hidden.c_str(), nullptr);
    SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    if (GetFileAttributesA(hidden.c_str()) != (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << wineName() << " keeps no hidden attribute set on a directory without a dot name";
    writeText(root + "\\afile", "x");
    for (const std::string& t : {hidden, root + "\\afile", std::string()}) {
        SCOPED_TRACE(t);
        removeTree(temp + "\\BK2DEMO");
        SetEnvironmentVariableA("TMP", t.c_str());
        ASSERT_TRUE(prepare());
        EXPECT_EQ(std::string(dir0), temp + "\\BK2DEMO");
        EXPECT_FALSE(dirExists(hidden + "\\BK2DEMO"));
    }
}

// The longest T the room check takes is used; one character longer is passed
// over like a wrong attribute, though the path itself is a plain directory.
TEST_F(Prepare, TmpTooLongForTheDeepestPathPassesToTemp)
{
    // 200 characters less the terminator, "\BK2DEMO\" and "DEMODATA\CREDITS.SMK".
    const size_t longest = 170;
    ASSERT_GT(longest, tmp.size() + 2);
    const std::string atLimit = tmp + "\\" + std::string(longest - tmp.size() - 1, 'a');
    const std::string beyond = atLimit + "b";
    ASSERT_EQ(atLimit.size(), longest);
    ASSERT_TRUE(CreateDirectoryA(atLimit.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(beyond.c_str(), nullptr));

    SetEnvironmentVariableA("TMP", atLimit.c_str());
    ASSERT_TRUE(prepare());
    EXPECT_EQ(std::string(dir0), atLimit + "\\BK2DEMO");
    EXPECT_TRUE(dirExists(atLimit + "\\BK2DEMO\\SIM\\LAUNCH"));

    SetEnvironmentVariableA("TMP", beyond.c_str());
    ASSERT_TRUE(prepare());
    EXPECT_EQ(std::string(dir0), temp + "\\BK2DEMO");
    EXPECT_FALSE(dirExists(beyond + "\\BK2DEMO"));
}

// DEMODATA is a file: the root and SIM\LAUNCH are made, the tree is not whole.
// The removal runs deepest first, so SIM goes after LAUNCH; the root keeps the file.
TEST_F(Prepare, IncompleteTreeWarnsAndRemovesDeepestFirst)
{
    const std::string root0 = tmp + "\\BK2DEMO";
    CreateDirectoryA(root0.c_str(), nullptr);
    writeText(root0 + "\\DEMODATA", "in the way");
    EXPECT_FALSE(prepare());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not create temporary BK2 Demo Directories!");
    EXPECT_EQ(boxes[0].owner, Current_hwnd);
    EXPECT_FALSE(dirExists(root0 + "\\SIM\\LAUNCH"));
    EXPECT_FALSE(dirExists(root0 + "\\SIM"));
    EXPECT_TRUE(fileExists(root0 + "\\DEMODATA"));
    EXPECT_TRUE(dirExists(root0));
}

// Nothing at all can be made under T: every attempt fails, one warning.
TEST_F(Prepare, RootInTheWayWarnsOnce)
{
    writeText(tmp + "\\BK2DEMO", "a file");
    EXPECT_FALSE(prepare());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not create temporary BK2 Demo Directories!");
    EXPECT_TRUE(fileExists(tmp + "\\BK2DEMO"));
    EXPECT_EQ(std::string(dir3), tmp + "\\BK2DEMO\\SIM\\LAUNCH");
}
