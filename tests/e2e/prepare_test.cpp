// The play preparation seen from outside: which temporary directory the demo
// tree goes under, and the boxes and restarts when it cannot be made.
#include <gtest/gtest.h>

#include "launcher/manifest.h"
#include "tests/e2e/scenario.h"

namespace {
// Every install entry as a small file and the game as the double, so that once
// the install runs the game, its working directory names the demo root.
void stockMedia(Scenario& s)
{
    for (const char* sub : {"\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((s.media + sub).c_str(), nullptr);
    for (const char* entry : installManifest) {
        if (std::string(entry) == "Brakdemo.exe")
            s.addDouble(entry);
        else
            writeText(s.media + "\\" + entry, entry);
    }
    s.script("brakdemo", "exit 0\n");
}

// One run request from the first front-end, a quit from the second; the
// launcher then ends at the next tick.
bool playOnce(Scenario& s)
{
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 1\nexit 0\n", 1);
    s.script("bk2demo", "relay 0\nexit 0\n", 2);
    if (!s.startLauncher() || !s.waitLauncher(30000))
        return false;
    printf("[ scenario ] %.2f s from launcher start to end\n", s.launcherSeconds());
    return true;
}

// Whether the play cycle put its demo root here: the game's working directory
// once the install runs it; until then, the whole tree the preparation leaves.
bool rootMadeAt(Scenario& s, const std::string& root)
{
    const std::vector<RoleEvent> game = s.events("brakdemo");
    if (!game.empty())
        return _stricmp(game[0].cwd.c_str(), root.c_str()) == 0;
    return dirExists(root + "\\DEMODATA") && dirExists(root + "\\SIM\\LAUNCH");
}

// A successful preparation: no box, and the front-end came back.
void expectCleanCycle(Scenario& s)
{
    EXPECT_TRUE(s.robot.boxes().empty());
    EXPECT_EQ(s.starts("bk2demo"), 2);
}

// A failed one: exactly this box, then the front-end again.
void expectWarnedCycle(Scenario& s, const char* text)
{
    const std::vector<Seen> boxes = s.robot.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].pid, s.launcherPid());
    const std::vector<RoleEvent> fe = s.events("bk2demo");
    ASSERT_GE(fe.size(), 2u);
    EXPECT_EQ(s.starts("bk2demo"), 2);
    long long restart = 0;
    for (const RoleEvent& e : fe)
        if (e.what == "start")
            restart = e.ms;  // the last start: the one after the box
    EXPECT_GE(restart, boxes[0].ms);
}

const char kNoDirs[] = "Could not create temporary BK2 Demo Directories!";
}  // namespace

// Wine shows a directory whose name begins with a dot as hidden (0x12), one
// without write bits as read-only (0x11): both are passed over for TEMP.
TEST(TempChoice, HiddenTmpPassesToTemp)
{
    Scenario s("tmp_hidden");
    stockMedia(s);
    const std::string hidden = s.tmp + "\\.hidden", temp = s.tmp + "\\temp";
    CreateDirectoryA(hidden.c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    ASSERT_EQ(GetFileAttributesA(hidden.c_str()), 0x12u);
    s.setEnv("TMP", hidden);
    s.setEnv("TEMP", temp);
    ASSERT_TRUE(playOnce(s));
    expectCleanCycle(s);
    EXPECT_TRUE(rootMadeAt(s, temp + "\\BK2DEMO"));
    EXPECT_FALSE(dirExists(hidden + "\\BK2DEMO"));
}

TEST(TempChoice, ReadOnlyTmpPassesToTemp)
{
    Scenario s("tmp_readonly");
    stockMedia(s);
    std::string ro = s.tmp + "\\ro";
    const std::string temp = s.tmp + "\\temp";
    CreateDirectoryA(ro.c_str(), nullptr);
    CreateDirectoryA(temp.c_str(), nullptr);
    SetFileAttributesA(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    if (GetFileAttributesA(ro.c_str()) != 0x11u) {
        // Wine gap: SetFileAttributesA drops the read-only attribute on a
        // directory; the build makes one without write bits instead.
        ro = binDir() + "\\readonly-dir";
    }
    if (GetFileAttributesA(ro.c_str()) != 0x11u)
        GTEST_SKIP() << "no read-only directory to offer as TMP";
    removeTree(ro + "\\BK2DEMO");  // outlives the scenario folder: a failed run may leave one
    s.setEnv("TMP", ro);
    s.setEnv("TEMP", temp);
    ASSERT_TRUE(playOnce(s));
    expectCleanCycle(s);
    EXPECT_TRUE(rootMadeAt(s, temp + "\\BK2DEMO"));
    EXPECT_FALSE(dirExists(ro + "\\BK2DEMO"));
}

TEST(TempChoice, EmptyTmpCountsAsUnset)
{
    Scenario s("tmp_empty");
    stockMedia(s);
    const std::string temp = s.tmp + "\\temp";
    CreateDirectoryA(temp.c_str(), nullptr);
    s.setEnv("TMP", "");
    s.setEnv("TEMP", temp + "\\");  // its trailing backslash goes
    ASSERT_TRUE(playOnce(s));
    expectCleanCycle(s);
    EXPECT_TRUE(rootMadeAt(s, temp + "\\BK2DEMO"));
}

// The prefix's drive_c is C:\ for the test program and the launcher alike.
TEST(TempChoice, TmpAFileAndNoTempGivesTheDriveRoot)
{
    Scenario s("tmp_file");
    stockMedia(s);
    removeTree("C:\\BK2DEMO");
    writeText(s.tmp + "\\afile", "not a directory");
    s.setEnv("TMP", s.tmp + "\\afile");
    s.unsetEnv("TEMP");
    ASSERT_TRUE(playOnce(s));
    expectCleanCycle(s);
    EXPECT_TRUE(rootMadeAt(s, "C:\\BK2DEMO"));
    removeTree("C:\\BK2DEMO");
}

// A tree left over by an earlier run: taken as it is, its stray file untouched.
TEST(DemoTree, LeftoverRootIsAcceptedUnchanged)
{
    Scenario s("leftover_root");
    stockMedia(s);
    const std::string root = s.tmp + "\\BK2DEMO";
    for (const char* d : {"", "\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((root + d).c_str(), nullptr);
    writeText(root + "\\OLDRUN.TXT", "from before");
    ASSERT_TRUE(playOnce(s));
    expectCleanCycle(s);
    EXPECT_TRUE(rootMadeAt(s, root));
    EXPECT_EQ(readText(root + "\\OLDRUN.TXT"), "from before");
}

// DEMODATA is a file in the way: the root stays, SIM and SIM\LAUNCH are made by
// the attempts and then removed again, deepest first; the front-end returns.
TEST(DemoTree, IncompleteTreeWarnsRemovesAndRestartsTheFrontEnd)
{
    Scenario s("tree_incomplete");
    stockMedia(s);
    const std::string root = s.tmp + "\\BK2DEMO";
    CreateDirectoryA(root.c_str(), nullptr);
    writeText(root + "\\DEMODATA", "in the way");
    ASSERT_TRUE(playOnce(s));
    expectWarnedCycle(s, kNoDirs);
    EXPECT_FALSE(dirExists(root + "\\SIM"));
    EXPECT_EQ(readText(root + "\\DEMODATA"), "in the way");
    EXPECT_TRUE(dirExists(root));  // not empty, so its removal is refused
    EXPECT_TRUE(s.events("brakdemo").empty());
}

// Runs only in the second prefix whose C: is an 8 MB tmpfs (lowdisk.sh).
TEST(LowDisk, NotEnoughSpaceOnCWarnsAndCreatesNothing)
{
    ULARGE_INTEGER freeToCaller, total, freeBytes;
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &freeToCaller, &total, &freeBytes));
    if (freeBytes.QuadPart >= 15000000)
        GTEST_SKIP() << "C: has " << freeBytes.QuadPart
                     << " bytes free; this scenario runs in the low-disk prefix (lowdisk.sh)";
    Scenario s("low_disk");
    stockMedia(s);
    ASSERT_TRUE(playOnce(s));
    expectWarnedCycle(s, "ERROR: Not enough disk space, BK2 requires at least 15MB on drive C:");
    EXPECT_FALSE(dirExists(s.tmp + "\\BK2DEMO"));
    EXPECT_FALSE(dirExists("C:\\BK2DEMO"));
}
