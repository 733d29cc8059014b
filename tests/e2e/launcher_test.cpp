// The launcher's supervision and the relay, seen from outside: which programs
// run, which boxes show, when the launcher ends.
#include <gtest/gtest.h>

#include "tests/e2e/scenario.h"

namespace {
// The launcher sets its 3 s timer right after the front-end is idle, so a
// front-end that exits 4.5 s after its start does so mid-way between the
// ticks at about 3 s and 6 s: a quit then ends the launcher near 6 s, the
// front-end's absence alone near 9 s (the second tick that finds it gone).
const char kExitMidPhase[] = "at 4500\nexit 0\n";

double secondsSinceFrontEndStart(Scenario& s)
{
    const std::vector<RoleEvent> ev = s.events("bk2demo");
    return ev.empty() ? -1 : (nowMs() - ev.front().ms) / 1000.0;
}

// Waits for the launcher's end; the seconds from the front-end's (first) start.
double endAfterFrontEnd(Scenario& s, DWORD ms = 15000)
{
    if (!s.waitLauncher(ms))
        return -1;
    return secondsSinceFrontEndStart(s);
}
}  // namespace

TEST(FrontEnd, FoundInTheLaunchersOwnDirectory)
{
    Scenario s("own_dir");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", kExitMidPhase);
    ASSERT_TRUE(s.startLauncher("", s.tmp));  // current directory holds no front-end
    EXPECT_NEAR(endAfterFrontEnd(s), 9.0, 1.0);
    const std::vector<RoleEvent> ev = s.events("bk2demo");
    ASSERT_EQ(s.starts("bk2demo"), 1);
    EXPECT_EQ(ev[0].cmdline, "BK2DEMO.EXE");
    EXPECT_EQ(ev[0].cwd, s.tmp);  // inherits the launcher's current directory
    EXPECT_EQ(s.launcherExitCode(), 0u);
    EXPECT_TRUE(s.robot.boxes().empty());
}

TEST(FrontEnd, FoundInTheCurrentDirectory)
{
    Scenario s("current_dir");
    const std::string elsewhere = s.dir + "\\launcher";
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    CopyFileA((s.media + "\\brakstart.exe").c_str(), (elsewhere + "\\brakstart.exe").c_str(), FALSE);
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", kExitMidPhase);
    ASSERT_TRUE(s.startLauncher(elsewhere, s.media));
    EXPECT_GT(endAfterFrontEnd(s), 0);
    ASSERT_EQ(s.starts("bk2demo"), 1);
    EXPECT_EQ(s.events("bk2demo")[0].cwd, s.media);
}

TEST(FrontEnd, EndingByItselfEndsTheLauncherOnTheSecondTick)
{
    Scenario s("ends_by_itself");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", kExitMidPhase);
    ASSERT_TRUE(s.startLauncher());
    const double end = endAfterFrontEnd(s);
    EXPECT_GE(end - 4.5, 3.0);
    EXPECT_LE(end - 4.5, 6.5);
    EXPECT_NEAR(end, 9.0, 1.0);
}

TEST(FrontEnd, ExitCode259DoesNotCountAsRunning)
{
    Scenario s("exit_259");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "at 4500\nexit 259\n");
    ASSERT_TRUE(s.startLauncher());
    EXPECT_NEAR(endAfterFrontEnd(s), 9.0, 1.0);
}

TEST(FrontEnd, MissingGivesTheWarningThenTheLauncherEndsAtTheFirstTick)
{
    Scenario s("missing_front_end");
    ASSERT_TRUE(s.startLauncher());
    ASSERT_TRUE(s.waitLauncher(15000));
    const std::vector<Seen> boxes = s.robot.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not start BK2 Demo!");
    EXPECT_EQ(boxes[0].pid, s.launcherPid());
    EXPECT_NE(boxes[0].owner, nullptr);  // owned by the hidden main window
    const double afterBox = (nowMs() - boxes[0].goneMs) / 1000.0;
    EXPECT_NEAR(afterBox, 3.0, 0.8);
    EXPECT_EQ(s.launcherExitCode(), 0u);
}

TEST(Control, QuitWhileTheFrontEndRunsWaitsForItsEnd)
{
    Scenario s("quit_waits");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 0\n" + std::string(kExitMidPhase));
    ASSERT_TRUE(s.startLauncher());
    EXPECT_NEAR(endAfterFrontEnd(s), 6.0, 1.0);  // the first tick after its end
}

TEST(Control, RelayWithoutArgumentIsAQuitRequest)
{
    Scenario s("relay_no_argument");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay\n" + std::string(kExitMidPhase));
    ASSERT_TRUE(s.startLauncher());
    EXPECT_NEAR(endAfterFrontEnd(s), 6.0, 1.0);
}

TEST(Control, OtherCodesDoNothing)
{
    Scenario s("other_codes");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 2\nrelay -5\nrelay x1x\n" + std::string(kExitMidPhase));
    ASSERT_TRUE(s.startLauncher());
    // "x1x" reads as 0, so this ends at the quit's tick; 2 and -5 started nothing.
    EXPECT_NEAR(endAfterFrontEnd(s), 6.0, 1.0);
    EXPECT_EQ(s.starts("bk2demo"), 1);
    EXPECT_TRUE(s.robot.boxes().empty());
}

TEST(Control, CodesTwoAndMinusFiveAreNotQuitRequests)
{
    Scenario s("no_quit_codes");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 2\nrelay -5\n" + std::string(kExitMidPhase));
    ASSERT_TRUE(s.startLauncher());
    EXPECT_NEAR(endAfterFrontEnd(s), 9.0, 1.0);
    EXPECT_EQ(s.starts("bk2demo"), 1);
}

TEST(Control, RunRequestRestartsTheFrontEndOnce)
{
    Scenario s("run_restarts");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 1\nwait\n", 1);
    s.script("bk2demo", "wait\n", 2);
    ASSERT_TRUE(s.startLauncher());
    ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") >= 2; }, 20000));
    // The broadcast reaches every top-level window of the launcher's thread;
    // one relay run must still give one play cycle.
    Sleep(2000);
    EXPECT_EQ(s.starts("bk2demo"), 2);
    EXPECT_EQ(s.events("bk2demo")[1].cwd, s.media);
    EXPECT_FALSE(s.waitLauncher(0));
    // A close request to the hidden window ends the launcher at once and
    // leaves the front-end running.
    HWND hidden = s.launcherWindow();
    ASSERT_NE(hidden, nullptr);
    const long long t0 = nowMs();
    PostMessageA(hidden, WM_CLOSE, 0, 0);
    ASSERT_TRUE(s.waitLauncher(5000));
    EXPECT_LT(nowMs() - t0, 1500);
    EXPECT_NE(FindWindowA("BrakTestDouble", "bk2demo"), nullptr);
    EXPECT_EQ(s.launcherExitCode(), 0u);
}

TEST(Control, SecondLauncherEndsAtOnceAndStartsNothing)
{
    Scenario s("single_instance");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "wait\n");
    ASSERT_TRUE(s.startLauncher());
    ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 1; }, 10000));

    Scenario second("single_instance_2");
    second.addDouble("BK2DEMO.EXE");
    ASSERT_TRUE(second.startLauncher());
    ASSERT_TRUE(second.waitLauncher(5000));
    EXPECT_EQ(second.launcherExitCode(), 0u);
    EXPECT_EQ(second.starts("bk2demo"), 0);
    EXPECT_TRUE(second.robot.boxes().empty());
    EXPECT_FALSE(s.waitLauncher(0));
}

TEST(Relay, ExitsWithZeroWithoutALauncher)
{
    Scenario s("relay_alone");
    EXPECT_EQ(s.relay("1"), 0u);
    EXPECT_EQ(s.relay(""), 0u);
    EXPECT_EQ(s.relay("4294967297"), 0u);
}
