// The play preparation on a C: with too little room (its own Wine prefix);
// the other preparation faults are rows of the fault matrix.
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
}  // namespace

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
