// The launcher's supervision and the relay, seen from outside: which programs
// run, which boxes show, when the launcher ends.
#include <gtest/gtest.h>

#include "tests/e2e/scenario.h"

namespace {
// The launcher sets its 3 s timer once the front-end is idle, at once here.
// The front-end exits half-way between two ticks, after one tick has found it
// running: a quit then ends the launcher 1.5 s after the exit, at the next
// tick; the front-end's absence alone 4.5 s after it, at the second.
std::string exitMidPhase(int code = 0)
{
    return "at 4500\nmidtick\nexit " + std::to_string(code) + "\n";
}

// How far an end may land from its tick: a slow machine's program exits take
// up to about a second; a tick early or late is 3 s off.
const double kSlack = 1.4;

// Waits for the launcher's end; the seconds from the front-end's exit, or -1.
double endAfterFrontEndExit(Scenario& s, DWORD ms = 20000)
{
    if (!s.waitLauncher(ms))
        return -1;
    for (const RoleEvent& e : s.events("bk2demo"))
        if (e.what == "exit")
            return (s.launcherEndMs() - e.ms) / 1000.0;
    return -1;
}
}  // namespace

TEST(FrontEnd, FoundInTheLaunchersOwnDirectory)
{
    Scenario s("own_dir");
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", exitMidPhase());
    ASSERT_TRUE(s.startLauncher("", s.tmp));  // current directory holds no front-end
    EXPECT_NEAR(endAfterFrontEndExit(s), 4.5, kSlack);
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
    s.script("bk2demo", exitMidPhase());
    ASSERT_TRUE(s.startLauncher(elsewhere, s.media));
    EXPECT_GT(endAfterFrontEndExit(s), 0);
    ASSERT_EQ(s.starts("bk2demo"), 1);
    EXPECT_EQ(s.events("bk2demo")[0].cwd, s.media);
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

// When the launcher ends after the front-end's own end, by what the front-end
// relayed while it ran: a quit ends it at the first tick after, nothing else
// at the second. One front-end start, no box, exit code 0 in every row.
namespace {
struct EndRow {
    const char* name;
    const char* relays;  // the front-end's script before its exit
    int exitCode;
    double secondsAfterExit;
};

const EndRow kEndRows[] = {
    {"ends_by_itself", "", 0, 4.5},
    {"exit_code_259_is_not_running", "", 259, 4.5},
    {"quit_while_it_runs", "relay 0\n", 0, 1.5},
    {"relay_without_argument_is_a_quit", "relay\n", 0, 1.5},
    {"codes_2_and_minus_5_are_no_quit", "relay 2\nrelay -5\n", 0, 4.5},
    {"x1x_reads_as_a_quit", "relay 2\nrelay -5\nrelay x1x\n", 0, 1.5},
};

class LauncherEnd : public ::testing::TestWithParam<EndRow> {};
}  // namespace

TEST_P(LauncherEnd, AfterTheFrontEndsExit)
{
    const EndRow& row = GetParam();
    Scenario s(row.name);
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", row.relays + exitMidPhase(row.exitCode));
    ASSERT_TRUE(s.startLauncher());
    EXPECT_NEAR(endAfterFrontEndExit(s), row.secondsAfterExit, kSlack);
    EXPECT_EQ(s.starts("bk2demo"), 1);
    EXPECT_TRUE(s.robot.boxes().empty());
    EXPECT_EQ(s.launcherExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Control, LauncherEnd, ::testing::ValuesIn(kEndRows),
                         [](const ::testing::TestParamInfo<EndRow>& i) {
                             return std::string(i.param.name);
                         });

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

// A listener stands in for the launcher, in a process of its own: each run
// posts one control message carrying its number cut to 32 bits, and exits with 0.
TEST(Relay, PostsItsNumberAsOneControlMessageAndExitsWithZero)
{
    Scenario s("relay_listened");
    s.script("listener", "listen\nwait\n");
    ASSERT_TRUE(s.startDouble("LISTENER.EXE"));
    const auto listening = [&] {
        for (const RoleEvent& e : s.events("listener"))
            if (e.what == "listen")
                return true;
        return false;
    };
    ASSERT_TRUE(s.waitFor(listening, 5000));
    const struct {
        const char* args;
        long long code;
    } runs[] = {{"1", 1}, {"", 0}, {"-5", 0xFFFFFFFBLL}, {"4294967297", 1}, {"0x10", 0}};
    for (const auto& r : runs)
        EXPECT_EQ(s.relay(r.args), 0u) << r.args;
    const auto received = [&] {
        std::vector<long long> codes;
        for (const RoleEvent& e : s.events("listener"))
            if (e.what == "control")
                codes.push_back(e.value);
        return codes;
    };
    ASSERT_TRUE(s.waitFor([&] { return received().size() >= 5; }, 5000)) << received().size();
    Sleep(500);  // nothing more arrives
    const std::vector<long long> codes = received();
    ASSERT_EQ(codes.size(), 5u);
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], runs[i].code) << runs[i].args;
}
