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

#include "launcher/launcher.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/manifest.h"
#include "launcher/progress.h"
#include "tests/win/testsupport.h"
#include "tests/win/cbar_record.h"

namespace {
const char kInstallTitle[] = "Please wait...Installing BK2 Demo!";
const char kRemovalTitle[] = "Please Wait...Uninstalling BK2 Demo";
const UINT kRunRequest = WM_APP + 5;  // stands for a control message posted meanwhile

// Wine maps every Windows path to a Unix one; links are planted and trees
// cleaned on that side, where nothing follows a link by accident.
std::string unixPath(const std::string& win)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!proc)
        return "";
    UnixNameFn fn;
    std::memcpy(&fn, &proc, sizeof fn);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, win.c_str(), -1, wide, MAX_PATH);
    char* u = fn(wide);
    std::string out = u ? u : "";
    HeapFree(GetProcessHeap(), 0, u);
    return out;
}

// Runs a shell command on the Unix side (Wine starts Unix programs too, but
// gives no handle that tells their end): true when it ended with 0.
bool runUnix(const std::string& command)
{
    char marker[MAX_PATH];
    GetTempFileNameA(".", "ux", 0, marker);
    DeleteFileA(marker);
    const std::string um = unixPath(marker);
    std::string cmd = "/bin/sh -c \"(" + command + ") && echo 0 > '" + um + "' || echo 1 > '" +
                      um + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (um.empty() || !CreateProcessA("Z:\\bin\\sh", &cmd[0], nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string result;
    for (int i = 0; i < 400; ++i) {
        std::ifstream f(marker);
        if (std::getline(f, result) && !result.empty())
            break;
        Sleep(25);
    }
    DeleteFileA(marker);
    return result == "0";
}

bool exists(const std::string& p)
{
    return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readAll(const std::string& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeAll(const std::string& p, const std::string& data)
{
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << data;
}

// Deterministic content: sizes that cross blocks and update points, small total.
size_t mediaSize(int i)
{
    return i % 9 == 4 ? 70000 + i * 13 : (static_cast<size_t>(i) * 7919) % 20000;
}

std::string mediaContent(int i)
{
    std::string s(mediaSize(i), '\0');
    unsigned x = 2166136261u ^ static_cast<unsigned>(i);
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

// Warning boxes of this thread: text recorded, OK pressed.
std::vector<std::string> warnings;

VOID CALLBACK pressOk(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowA("#32770", "Brakkon 2");
    if (!box)
        return;
    char text[160] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    warnings.push_back(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK hiddenProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == kRunRequest)
        barCalls.push_back({'P', "", 0, 0, nullptr});
    return DefWindowProcA(hwnd, msg, wp, lp);
}

struct Update {
    int percent;
    double copied;
};

// What a byte-at-a-time copy shows for these file sizes, from this numbytes.
std::vector<Update> byteModel(const std::vector<size_t>& sizes, int nb)
{
    std::vector<Update> out;
    double total = 0;
    for (size_t size : sizes)
        for (size_t b = 0; b < size; ++b) {
            total = total + 1;
            if (++nb > 12000) {
                int p = static_cast<int>(total * (1.0 / 11500000) * 100);
                out.push_back({p > 100 ? 100 : p, total});
                nb = 0;
            }
        }
    return out;
}

class PlayCycle : public ::testing::Test {
protected:
    std::string root, media, temp, savedCwd;
    HWND hidden = nullptr;
    UINT_PTR okTimer = 0;

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = exeDir() + "\\playtest\\" + info->name();
        clean();
        CreateDirectoryA((exeDir() + "\\playtest").c_str(), nullptr);
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        media = root + "\\media";
        CreateDirectoryA(media.c_str(), nullptr);
        for (const char* sub : {"\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
            CreateDirectoryA((media + sub).c_str(), nullptr);
        for (int i = 0; i < INSTALL_COUNT; ++i)
            writeAll(media + "\\" + installManifest[i], mediaContent(i));
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
        okTimer = SetTimer(nullptr, 0, 100, pressOk);
        CloseCompletionBar();
        barCalls.clear();
        warnings.clear();
        onBarSet = nullptr;
        SetEnvironmentVariableA("BRAKTEST_LOG", (root + "\\programs.log").c_str());
    }

    void TearDown() override
    {
        KillTimer(nullptr, okTimer);
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

    void useTemp(const std::string& t)
    {
        CreateDirectoryA(t.c_str(), nullptr);
        std::snprintf(dir0, PATH_BUF, "%s\\BK2DEMO", t.c_str());
        std::snprintf(dir1, PATH_BUF, "%s\\BK2DEMO\\DEMODATA", t.c_str());
        std::snprintf(dir2, PATH_BUF, "%s\\BK2DEMO\\SIM", t.c_str());
        std::snprintf(dir3, PATH_BUF, "%s\\BK2DEMO\\SIM\\LAUNCH", t.c_str());
        for (const char* d : {dir0, dir1, dir2, dir3})
            CreateDirectoryA(d, nullptr);
        temp = t;
    }

    std::string inTree(int i) const { return std::string(dir0) + "\\" + installManifest[i]; }

    std::vector<double> setValues() const
    {
        std::vector<double> v;
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
        std::istringstream in(readAll(root + "\\programs.log"));
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
    writeAll(inTree(7), std::string(300000, 'x'));
    numbytes = 7000;  // left by an earlier install
    std::vector<size_t> sizes;
    for (int i = 0; i < INSTALL_COUNT; ++i)
        sizes.push_back(mediaSize(i));
    const std::vector<Update> expected = byteModel(sizes, 7000);

    ASSERT_TRUE(installGame());

    ASSERT_EQ(barCalls.size(), expected.size() + 1);  // no close, no final 100
    EXPECT_EQ(barCalls[0].kind, 'O');
    EXPECT_EQ(barCalls[0].title, kInstallTitle);
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    for (size_t i = 0; i < expected.size(); ++i) {
        const BarCall& c = barCalls[i + 1];
        EXPECT_EQ(c.kind, 'S');
        EXPECT_EQ(c.percent, expected[i].percent) << "update " << i;
        EXPECT_EQ(c.copied, expected[i].copied) << "update " << i;
        EXPECT_EQ(c.cursor, wait);
    }
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    for (int i = 0; i < INSTALL_COUNT; ++i)
        EXPECT_TRUE(readAll(inTree(i)) == mediaContent(i)) << installManifest[i];
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PlayCycle, MissingSourceLeavesAnEmptyFileAndTheInstallGoesOn)
{
    ASSERT_TRUE(DeleteFileA((media + "\\" + installManifest[10]).c_str()));
    numbytes = 0;
    std::vector<size_t> sizes;
    for (int i = 0; i < INSTALL_COUNT; ++i)
        sizes.push_back(i == 10 ? 0 : mediaSize(i));

    ASSERT_TRUE(installGame());

    EXPECT_TRUE(exists(inTree(10)));
    EXPECT_EQ(readAll(inTree(10)).size(), 0u);
    EXPECT_EQ(setValues().size(), byteModel(sizes, 0).size());
    EXPECT_TRUE(readAll(inTree(71)) == mediaContent(71));
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PlayCycle, PlantedLinkIsNeitherWrittenThroughNorDeleted)
{
    const std::string outside = root + "\\outside.txt";
    writeAll(outside, "the user's own file");
    if (planted(inTree(4), outside).empty())
        GTEST_SKIP() << "no way to plant a symbolic link here";

    EXPECT_FALSE(installGame());

    EXPECT_EQ(readAll(outside), "the user's own file");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ERROR: Could not copy the BK2 Demo files.");
    // The install's bar closed before the warning; then the whole removal.
    ASSERT_GE(barCalls.size(), 2u);
    EXPECT_EQ(barCalls[0].title, kInstallTitle);
    size_t close = 1;
    while (close < barCalls.size() && barCalls[close].kind != 'C')
        ++close;
    expectRemovalAt(close + 1);
    // The link stays (with the root that holds it); everything else is gone.
    EXPECT_TRUE(exists(dir0));
    EXPECT_FALSE(exists(dir1));
    EXPECT_FALSE(exists(dir2));
}

TEST_F(PlayCycle, DiskFullStopsTheCycleWithAWarningAndRemovesTheTree)
{
    const std::string tiny = root + "\\tiny";
    CreateDirectoryA(tiny.c_str(), nullptr);
    if (!runUnix("mount -t tmpfs -o size=256k tmpfs '" + unixPath(tiny) + "'"))
        GTEST_SKIP() << "a small tmpfs needs root (mount)";
    useTemp(tiny);

    const bool installed = installGame();
    const bool treeGone = !exists(dir0);
    runUnix("umount '" + unixPath(tiny) + "'");

    EXPECT_FALSE(installed);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ERROR: Could not copy the BK2 Demo files.");
    EXPECT_TRUE(treeGone);
    ASSERT_FALSE(barCalls.empty());
    expectRemovalAt(barCalls.size() - 8);
}

TEST_F(PlayCycle, ReadErrorStopsTheCycleWithAWarningAndRemovesTheTree)
{
    // Another handle locks the source's second block: reading it fails.
    const int entry = 13;  // over 64 KiB
    ASSERT_GT(mediaSize(entry), 65536u + 100);
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
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "ERROR: Could not copy the BK2 Demo files.");
    EXPECT_FALSE(exists(dir0));
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
            n += exists(std::string(dirs[g]) + "\\" + removalGroups[g][i]);
    return n;
}
}  // namespace

TEST_F(PlayCycle, RemovalStepsAtTheGroupSplitsAndLeavesNothing)
{
    const char* dirs[] = {dir0, dir1, dir2, dir3};
    for (int g = 0; g < 4; ++g)
        for (int i = 0; i < removalCounts[g]; ++i)
            writeAll(std::string(dirs[g]) + "\\" + removalGroups[g][i], "x");
    leftAtEachStep.clear();
    onBarSet = [](int) { leftAtEachStep.push_back(filesLeft()); };

    killbrak();

    expectRemovalAt(0);
    EXPECT_EQ(leftAtEachStep, (std::vector<int>{75, 67, 45, 26, 16, 0}));
    EXPECT_FALSE(exists(dir0));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(PlayCycle, FileLeftInSimKeepsSimAndTheRootButTheBarStillEnds)
{
    writeAll(std::string(dir2) + "\\SAVEGAME.DAT", "progress");
    writeAll(std::string(dir1) + "\\BK01.BK2", "x");

    killbrak();

    expectRemovalAt(0);
    EXPECT_TRUE(exists(dir2));
    EXPECT_TRUE(exists(dir0));
    EXPECT_FALSE(exists(dir1));
    EXPECT_FALSE(exists(dir3));
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
    for (int i = 0; i < 300 && readAll(probe.log).find("brakdemo") == std::string::npos; ++i)
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
    EXPECT_FALSE(exists(dir0));

    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_TRUE(sameText(cwd, media));
    EXPECT_TRUE(warnings.empty());
}

TEST_F(PlayCycle, GameThatCannotStartWarnsRemovesTheTreeAndSkipsTheFollowUp)
{
    writeAll(std::string(dir0) + "\\Brakdemo.exe", "");  // missing on the media: left empty
    copyProgram(media + "\\register.exe");
    OpenCompletionBar(kInstallTitle);

    playGame();

    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Could not start BK2 Demo!");
    EXPECT_EQ(barCalls[1].kind, 'C');
    expectRemovalAt(2);
    EXPECT_FALSE(exists(dir0));
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
