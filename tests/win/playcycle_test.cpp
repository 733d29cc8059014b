// The second half of the play cycle with real files, real processes and a
// recording completion bar: install, game run, removal, follow-up program.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "launcher/manifest.h"
#include "launcher/progress.h"
#include "tests/common/testfs.h"
#include "tests/win/boxrobot.h"
#include "tests/common/bytemodel.h"
#include "tests/win/cbar_record.h"
#include "tests/win/testsupport.h"
#include "tests/win/testtree.h"
#include "tests/common/unixside.h"

namespace {
const char kInstallTitle[] = "Please wait...Installing BK2 Demo!";
const char kRemovalTitle[] = "Please Wait...Uninstalling BK2 Demo";
const UINT kRunRequest = WM_APP + 5;  // stands for a control message posted meanwhile

LRESULT CALLBACK hiddenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kRunRequest)
        barCalls.push_back({'P', "", 0, 0, nullptr});
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class PlayCycle : public ::testing::Test {
protected:
    std::string root, media, savedCwd;
    std::vector<size_t> sizes;
    HWND hidden = nullptr;

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = exeDir() + "\\playtest\\" + info->name();
        clean();
        CreateDirectoryA((exeDir() + "\\playtest").c_str(), nullptr);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        media = root + "\\media";
        sizes = buildMedia(media);
        useTemp(root + "\\T");

        char cwd[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwd, cwd);
        savedCwd = cwd;
        SetCurrentDirectoryA(media.c_str());

        WNDCLASSA wc = {};
        wc.lpfnWndProc = hiddenProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BrakDemo";
        RegisterClassA(&wc);
        hidden = CreateWindowExA(0, "BrakDemo", "BrakDemo", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        BrakDemoHWND = Current_hwnd = hidden;
        startBoxRobot();
        CloseCompletionBar();
        barCalls.clear();
        onBarSet = nullptr;
        SetEnvironmentVariableA("BRAKTEST_LOG", (root + "\\programs.log").c_str());
    }

    void TearDown() override
    {
        stopBoxRobot();
        DestroyWindow(hidden);
        SetCurrentDirectoryA(savedCwd.c_str());
        if (!HasFailure())
            clean();
    }

    void clean()
    {
        const std::string u = unixPath(root);
        if (!u.empty())
            runUnix("rm -rf '" + u + "'");
    }

    // The texts of the warning boxes answered so far; the robot stops.
    std::vector<std::string> warnings() const
    {
        std::vector<std::string> texts;
        for (const SeenBox& b : stopBoxRobot())
            texts.push_back(b.text);
        return texts;
    }

    std::string inTree(int i) const { return std::string(dir0) + "\\" + installManifest[i]; }

    std::vector<int> setValues() const
    {
        std::vector<int> v;
        for (const BarCall& c : barCalls)
            if (c.kind == 'S')
                v.push_back(c.percent);
        return v;
    }

    // Every call of the removal: opened by its first set, six steps, closed.
    void expectRemovalAt(size_t from) const
    {
        ASSERT_EQ(barCalls.size(), from + 8);
        EXPECT_EQ(barCalls[from].kind, 'O');
        EXPECT_EQ(barCalls[from].title, kRemovalTitle);
        const int steps[] = {0, 20, 40, 60, 80, 100};
        for (size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(barCalls[from + 1 + i].kind, 'S');
            EXPECT_EQ(barCalls[from + 1 + i].percent, steps[i]);
        }
        EXPECT_EQ(barCalls[from + 7].kind, 'C');
    }

    std::vector<std::string> programLog() const
    {
        std::vector<std::string> lines;
        std::istringstream in(readText(root + "\\programs.log"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find('\r')));
        return lines;
    }

    void copyProgram(const std::string& to) const
    {
        ASSERT_TRUE(CopyFileA((exeDir() + "\\gamestub.exe").c_str(), to.c_str(), FALSE)) << to;
    }

    std::string planted(const std::string& at, const std::string& target) const
    {
        // A Unix symbolic link is what a leftover tree holds under Wine.
        const std::string ua = unixPath(at), ut = unixPath(target);
        if (ua.empty() || !runUnix("ln -s '" + ut + "' '" + ua + "'"))
            return "";
        return ua;
    }
};

bool sameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}
}  // namespace

TEST_F(PlayCycle, InstallCopiesEveryFileWithTheByteCopysBarValues)
{
    // A leftover tree: an older, longer file is replaced from its start.
    writeText(inTree(7), std::string(300000, 'x'));
    numbytes = 7000;  // left by an earlier install
    int model = 7000;
    const std::vector<ModelUpdate> expected = byteModel(sizes, model);

    ASSERT_TRUE(installGame());

    ASSERT_EQ(barCalls.size(), expected.size() + 1);  // no close, no final 100
    EXPECT_EQ(barCalls[0].kind, 'O');
    EXPECT_EQ(barCalls[0].title, kInstallTitle);
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    for (size_t i = 0; i < expected.size(); ++i) {
        const BarCall& c = barCalls[i + 1];
        EXPECT_EQ(c.kind, 'S');
        EXPECT_EQ(c.percent, expected[i].percent) << "update " << i;
        EXPECT_EQ(c.copied, static_cast<double>(expected[i].copied)) << "update " << i;
        EXPECT_EQ(c.cursor, wait);
    }
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    for (int i = 0; i < INSTALL_COUNT; ++i)
        EXPECT_TRUE(readText(inTree(i)) == mediaContent(i)) << installManifest[i];
    EXPECT_TRUE(warnings().empty());
}

TEST_F(PlayCycle, MissingSourceLeavesAnEmptyFileAndTheInstallGoesOn)
{
    ASSERT_TRUE(DeleteFileA((media + "\\" + installManifest[10]).c_str()));
    numbytes = 0;
    int model = 0;
    sizes[10] = 0;

    ASSERT_TRUE(installGame());

    EXPECT_TRUE(fileExists(inTree(10)));
    EXPECT_EQ(readText(inTree(10)).size(), 0u);
    EXPECT_EQ(setValues(), percentsOf(byteModel(sizes, model)));
    EXPECT_TRUE(readText(inTree(71)) == mediaContent(71));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(PlayCycle, PlantedLinkIsNeitherWrittenThroughNorDeleted)
{
    const std::string outside = root + "\\outside.txt";
    writeText(outside, "the user's own file");
    if (planted(inTree(4), outside).empty())
        GTEST_SKIP() << "no way to plant a symbolic link here";

    EXPECT_FALSE(installGame());

    EXPECT_EQ(readText(outside), "the user's own file");
    EXPECT_EQ(warnings(), std::vector<std::string>{"ERROR: Could not copy the BK2 Demo files."});
    // The install's bar closed before the warning; then the whole removal.
    ASSERT_GE(barCalls.size(), 2u);
    EXPECT_EQ(barCalls[0].title, kInstallTitle);
    size_t close = 1;
    while (close < barCalls.size() && barCalls[close].kind != 'C')
        ++close;
    expectRemovalAt(close + 1);
    // The link stays (with the root that holds it); everything else is gone.
    EXPECT_TRUE(dirExists(dir0));
    EXPECT_FALSE(dirExists(dir1));
    EXPECT_FALSE(dirExists(dir2));
}

// SIM is a link to a user's folder that holds names of ours and an empty
// LAUNCH: neither the removal nor the preparation's failure path touches it.
TEST_F(PlayCycle, DirectoryLinkInTheTreeIsNeverWorkedThrough)
{
    const std::string user = root + "\\user";
    CreateDirectoryA(user.c_str(), nullptr);
    CreateDirectoryA((user + "\\LAUNCH").c_str(), nullptr);
    writeText(user + "\\SIM.INI", "the user's settings");
    writeText(user + "\\TRACK1.MAP", "the user's map");
    RemoveDirectoryA(dir3);
    RemoveDirectoryA(dir2);
    if (planted(dir2, user).empty())
        GTEST_SKIP() << "no way to plant a symbolic link here";

    killbrak();
    const std::string t = root + "\\T";
    SetEnvironmentVariableA("TMP", t.c_str());
    SetEnvironmentVariableA("TEMP", t.c_str());
    const bool prepared = preparePlay();

    EXPECT_EQ(readText(user + "\\SIM.INI"), "the user's settings");
    EXPECT_EQ(readText(user + "\\TRACK1.MAP"), "the user's map");
    EXPECT_TRUE(dirExists(user + "\\LAUNCH"));
    EXPECT_FALSE(prepared);
    EXPECT_EQ(warnings(),
              std::vector<std::string>{"Could not create temporary BK2 Demo Directories!"});
    EXPECT_FALSE(dirExists(dir1));  // what is ours still goes
    runUnix("rm -f '" + unixPath(dir2) + "'");
}

TEST_F(PlayCycle, DiskFullStopsTheCycleWithAWarningAndRemovesTheTree)
{
    const std::string tiny = root + "\\tiny";
    CreateDirectoryA(tiny.c_str(), nullptr);
    if (!runUnix("mount -t tmpfs -o size=256k tmpfs '" + unixPath(tiny) + "'"))
        GTEST_SKIP() << "a small tmpfs needs root (mount)";
    useTemp(tiny);

    const bool installed = installGame();
    const bool treeGone = !dirExists(dir0);
    runUnix("umount '" + unixPath(tiny) + "'");

    EXPECT_FALSE(installed);
    EXPECT_EQ(warnings(), std::vector<std::string>{"ERROR: Could not copy the BK2 Demo files."});
    EXPECT_TRUE(treeGone);
    ASSERT_FALSE(barCalls.empty());
    expectRemovalAt(barCalls.size() - 8);
}

TEST_F(PlayCycle, ReadErrorStopsTheCycleWithAWarningAndRemovesTheTree)
{
    // Another handle locks the source's second block: reading it fails.
    const int entry = 13;  // over 64 KiB
    ASSERT_GT(sizes[entry], 65536u + 100);
    const std::string source = media + "\\" + installManifest[entry];
    HANDLE locker = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(LockFile(locker, 65536 + 50, 0, 10, 0));
    HANDLE reader = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    char probe[65536 + 100];
    DWORD got = 0;
    const BOOL readThrough = ReadFile(reader, probe, sizeof probe, &got, nullptr);
    CloseHandle(reader);
    if (readThrough) {
        // Wine reads through byte-range locks; a source whose reads fail with
        // EIO (a process's memory at address 0) stands in for a bad medium.
        CloseHandle(locker);
        locker = INVALID_HANDLE_VALUE;
        const std::string u = unixPath(source);
        if (u.empty() || !runUnix("rm -f '" + u + "' && ln -s /proc/self/mem '" + u + "'"))
            GTEST_SKIP() << "no way to make a source that fails to read";
    }

    const bool installed = installGame();
    if (locker != INVALID_HANDLE_VALUE)
        CloseHandle(locker);

    EXPECT_FALSE(installed);
    EXPECT_EQ(warnings(), std::vector<std::string>{"ERROR: Could not copy the BK2 Demo files."});
    EXPECT_FALSE(dirExists(dir0));
    ASSERT_GE(barCalls.size(), 8u);
    expectRemovalAt(barCalls.size() - 8);
    EXPECT_EQ(barCalls[barCalls.size() - 9].kind, 'C');  // the install's bar closed first
}

namespace {
const char* const* removalGroups[] = {removeRoot, removeDemodata, removeSim, removeLaunch};
const int removalCounts[] = {REMOVE_ROOT, REMOVE_DEMODATA, REMOVE_SIM, REMOVE_LAUNCH};
std::vector<int> leftAtEachStep;

int filesLeft()
{
    int n = 0;
    const char* dirs[] = {dir0, dir1, dir2, dir3};
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < removalCounts[g]; ++i)
            n += fileExists(std::string(dirs[g]) + "\\" + removalGroups[g][i]);
    return n;
}
}  // namespace

TEST_F(PlayCycle, RemovalStepsAtTheGroupSplitsAndLeavesNothing)
{
    const char* dirs[] = {dir0, dir1, dir2, dir3};
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < removalCounts[g]; ++i)
            writeText(std::string(dirs[g]) + "\\" + removalGroups[g][i], "x");
    leftAtEachStep.clear();
    onBarSet = [](int) { leftAtEachStep.push_back(filesLeft()); };

    killbrak();

    expectRemovalAt(0);
    EXPECT_EQ(leftAtEachStep, (std::vector<int>{75, 67, 45, 26, 16, 0}));
    EXPECT_FALSE(dirExists(dir0));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(PlayCycle, FileLeftInSimKeepsSimAndTheRootButTheBarStillEnds)
{
    writeText(std::string(dir2) + "\\SAVEGAME.DAT", "progress");
    writeText(std::string(dir1) + "\\BK01.BK2", "x");

    killbrak();

    expectRemovalAt(0);
    EXPECT_TRUE(dirExists(dir2));
    EXPECT_TRUE(dirExists(dir0));
    EXPECT_FALSE(dirExists(dir1));
    EXPECT_FALSE(dirExists(dir3));
}

namespace {
struct Probe {
    std::string log;
    HWND target;
    BOOL answered;
    DWORD pid;
};

// While the game runs: a sent message must be answered, a posted one kept.
DWORD WINAPI probeDuringGame(void* p)
{
    Probe& probe = *static_cast<Probe*>(p);
    for (int i = 0; i < 300 && readText(probe.log).find("brakdemo") == std::string::npos; ++i)
        Sleep(50);
    // Posted first: answering the sent one must leave it in the queue.
    PostMessageA(probe.target, kRunRequest, 1, 0);
    DWORD_PTR result = 0;
    probe.answered =
        SendMessageTimeoutA(probe.target, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    Sleep(300);  // the posted message sits in the queue while the game still runs
    HANDLE end = OpenEventA(EVENT_MODIFY_STATE, FALSE, "BrakPlayTestGameEnd");
    SetEvent(end);
    CloseHandle(end);
    return 0;
}
}  // namespace

TEST_F(PlayCycle, GameRunsByItsFullPathAnswersSentMessagesThenRemovalAndFollowUp)
{
    // A temporary directory with a blank, and a program planted at the blank.
    useTemp(root + "\\My Temp");
    copyProgram(root + "\\My.exe");
    copyProgram(std::string(dir0) + "\\Brakdemo.exe");
    copyProgram(media + "\\register.exe");
    HANDLE gameEnd = CreateEventA(nullptr, TRUE, FALSE, "BrakPlayTestGameEnd");
    OpenCompletionBar(kInstallTitle);  // left open by the install

    Probe probe = {root + "\\programs.log", hidden, FALSE, 0};
    HANDLE prober = CreateThread(nullptr, 0, probeDuringGame, &probe, 0, nullptr);
    const int handlesBefore = openHandles();
    playGame();
    // The game's and the follow-up's process and thread handles are closed.
    // (Wine keeps an ended process open to OpenProcess and has no handle
    // count: the handle table itself is what shows a leak.)
    EXPECT_EQ(openHandles(), handlesBefore);
    WaitForSingleObject(prober, 10000);
    CloseHandle(prober);
    CloseHandle(gameEnd);

    EXPECT_TRUE(probe.answered);
    std::vector<std::string> log = programLog();
    ASSERT_EQ(log.size(), 2u);  // the game, then the follow-up; never My.exe
    for (std::string& line : log)
        line.erase(0, line.find('|') + 1);  // the process id
    const std::string game = std::string(dir0) + "\\brakdemo.exe";
    EXPECT_TRUE(sameText(log[0], game + "|" + dir0 + "|" + game)) << log[0];
    const std::string follow = media + "\\register.exe";
    EXPECT_TRUE(sameText(log[1].substr(0, log[1].find('|')), follow)) << log[1];
    EXPECT_NE(log[1].find("|" + media + "|"), std::string::npos) << log[1];
    EXPECT_NE(log[1].find("register.exe"), std::string::npos);

    // Install bar closed after the start; the posted request waited for the removal's drain.
    ASSERT_GE(barCalls.size(), 3u);
    EXPECT_EQ(barCalls[1].kind, 'C');
    EXPECT_EQ(barCalls[2].kind, 'O');
    ASSERT_EQ(barCalls[3].kind, 'P');
    barCalls.erase(barCalls.begin() + 3);
    expectRemovalAt(2);
    EXPECT_FALSE(dirExists(dir0));

    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_TRUE(sameText(cwd, media));
    EXPECT_TRUE(warnings().empty());
}

TEST_F(PlayCycle, GameThatCannotStartWarnsRemovesTheTreeAndSkipsTheFollowUp)
{
    writeText(std::string(dir0) + "\\Brakdemo.exe", "");  // missing on the media: left empty
    copyProgram(media + "\\register.exe");
    OpenCompletionBar(kInstallTitle);

    playGame();

    EXPECT_EQ(warnings(), std::vector<std::string>{"Could not start BK2 Demo!"});
    EXPECT_EQ(barCalls[1].kind, 'C');
    expectRemovalAt(2);
    EXPECT_FALSE(dirExists(dir0));
    EXPECT_TRUE(programLog().empty());
}

namespace {
// The first byte count up to twice the expected total whose percent is not
// the integer quotient by 115,000 (clamped), or -1.
long firstPercentOffQuotient()
{
    for (long t = 0; t <= 23000000; ++t) {
        const long q = t / 115000;
        if (installPercent(static_cast<double>(t)) != (q > 100 ? 100 : q))
            return t;
    }
    return -1;
}
}  // namespace

TEST(InstallPercentOnThisBuild, IsTheQuotientBy115000ForEveryByteCount)
{
    // The shipping build multiplies in x87 registers, the host in SSE doubles;
    // both must give the quotient. How wide the x87 registers round is up to
    // the process: MinGW's runtime leaves 64 bits, Microsoft's 53.
#if defined(__i386__)
    const unsigned saved = _controlfp(0, 0) & _MCW_PC;
    for (unsigned pc : {unsigned(_PC_64), unsigned(_PC_53)}) {
        _controlfp(pc, _MCW_PC);
        const long off = firstPercentOffQuotient();
        _controlfp(saved, _MCW_PC);
        EXPECT_EQ(off, -1) << "x87 precision control " << std::hex << pc;
    }
#else
    EXPECT_EQ(firstPercentOffQuotient(), -1);
#endif
}
