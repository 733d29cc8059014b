// Whole play cycles from outside: the game sees its files, the tree goes, the
// follow-up runs in the media folder, the front-end comes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <sstream>

#include "launcher/manifest.h"
#include "sample/filelist.h"
#include "tests/e2e/scenario.h"

namespace {
const char kInstallTitle[] = "Please wait...Installing BK2 Demo!";
const char kCopyError[] = "ERROR: Could not copy the BK2 Demo files.";
const char kGameEntry[] = "Brakdemo.exe";

// Small, deterministic game files: about 1.2 MB in all, so a cycle stays quick
// while the bar still moves about a hundred times.
std::string gameFile(int i)
{
    std::string s(1000 + (static_cast<size_t>(i) * 7919) % 30000, '\0');
    unsigned x = 2166136261u ^ static_cast<unsigned>(i);
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

std::string listingLine(const std::string& data, const std::string& path)
{
    char head[32];
    std::snprintf(head, sizeof head, "%lu %08lx ", static_cast<unsigned long>(data.size()),
                  static_cast<unsigned long>(crc32Update(0, data.data(), data.size())));
    return head + path;
}

std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

// Lays the game's files out on the media (the game program is the double);
// returns what the game's "tree" must list, paths in upper case.
std::set<std::string> makeGameMedia(Scenario& s, const std::string& missing = "")
{
    for (const char* sub : {"\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((s.media + sub).c_str(), nullptr);
    std::set<std::string> expected;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        const std::string entry = installManifest[i];
        std::string data;
        if (entry == kGameEntry) {
            if (entry != missing)
                s.addDouble(kGameEntry);
            data = readText(binDir() + "\\double.exe");
        } else if (entry != missing) {
            data = gameFile(i);
            writeText(s.media + "\\" + entry, data);
        }
        expected.insert(upper(listingLine(entry == missing ? "" : data, entry)));
    }
    return expected;
}

std::set<std::string> readListing(const std::string& path)
{
    std::set<std::string> lines;
    std::istringstream in(readText(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.insert(upper(line));
    }
    return lines;
}

// A front-end that asks for one play and quits when it comes back.
void playOnceThenQuit(Scenario& s)
{
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 1\nexit 0\n", 1);
    s.script("bk2demo", "relay 0\nexit 0\n", 2);
}

// Runs a shell command on the Unix side (Wine starts Unix programs, but gives
// no handle that tells their end); true when it ended with 0.
bool runUnix(const std::string& dir, const std::string& command)
{
    const std::string marker = dir + "\\unix.done";
    DeleteFileA(marker.c_str());
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!proc)
        return false;
    UnixNameFn fn;
    std::memcpy(&fn, &proc, sizeof fn);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide, MAX_PATH);
    char* u = fn(wide);
    if (!u)
        return false;
    const std::string um = std::string(u) + "/unix.done";
    HeapFree(GetProcessHeap(), 0, u);
    std::string cmd = "/bin/sh -c \"cd '" + um.substr(0, um.rfind('/')) + "' && (" + command +
                      ") && echo 0 > '" + um + "' || echo 1 > '" + um + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA("Z:\\bin\\sh", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string result;
    for (int i = 0; i < 400 && (result = readText(marker)).empty(); ++i)
        Sleep(25);
    DeleteFileA(marker.c_str());
    return result.compare(0, 1, "0") == 0;
}

// The cycle ended with the tree gone, the front-end back and the launcher ended.
void expectCycleClosed(Scenario& s, const std::string& root)
{
    ASSERT_TRUE(s.waitLauncher(60000));
    EXPECT_FALSE(dirExists(root));
    EXPECT_EQ(s.starts("bk2demo"), 2);
    std::vector<RoleEvent> fe = s.events("bk2demo");
    fe.erase(std::remove_if(fe.begin(), fe.end(),
                            [](const RoleEvent& e) { return e.what != "start"; }),
             fe.end());
    ASSERT_EQ(fe.size(), 2u);
    EXPECT_EQ(fe[1].cwd, s.media);  // the launcher's own current directory is unchanged
}

std::vector<std::string> boxTexts(Scenario& s)
{
    std::vector<std::string> out;
    for (const Seen& b : s.robot.boxes())
        out.push_back(b.text);
    return out;
}
}  // namespace

TEST(PlayCycle, GameSeesEveryFileThenTreeGoesAndFollowUpRunsInTheMediaFolder)
{
    Scenario s("play_full");
    const std::set<std::string> expected = makeGameMedia(s);
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    // The game lists what it was given, broadcasts a sent message, asks for
    // another play (which must not happen), then ends.
    s.script("brakdemo", "tree " + s.dir + "\\tree.txt\nping\nrelay 1\nsleep 300\nexit 0\n");
    const std::string root = s.tmp + "\\BK2DEMO";
    ASSERT_TRUE(s.startLauncher());
    expectCycleClosed(s, root);

    EXPECT_EQ(readListing(s.dir + "\\tree.txt"), expected);
    const std::vector<RoleEvent> game = s.events("brakdemo");
    ASSERT_EQ(s.starts("brakdemo"), 1);
    EXPECT_EQ(game[0].cwd, root);
    EXPECT_EQ(game[0].cmdline, root + "\\brakdemo.exe");
    const auto ping = std::find_if(game.begin(), game.end(),
                                   [](const RoleEvent& e) { return e.what == "ping"; });
    ASSERT_NE(ping, game.end());
    EXPECT_LT(ping->value, 20000) << "a sent broadcast hung on the launcher";

    const std::vector<RoleEvent> follow = s.events("register");
    ASSERT_EQ(s.starts("register"), 1);
    EXPECT_EQ(follow[0].cwd, s.media);
    EXPECT_EQ(follow[0].cmdline, "register.exe");
    EXPECT_GE(follow[0].ms, game.back().ms);  // after the game's end
    EXPECT_GE(s.events("bk2demo")[2].ms, follow.back().ms);  // the front-end after it

    // The removal's bar lives a few milliseconds here, too short for the
    // robot's polling; its title and steps are checked in tests/win.
    const std::vector<std::string> bars = s.robot.barTitles();
    EXPECT_NE(std::find(bars.begin(), bars.end(), kInstallTitle), bars.end());
    EXPECT_TRUE(boxTexts(s).empty());
}

TEST(PlayCycle, FileMissingOnTheMediaArrivesEmptyAndTheCycleGoesOn)
{
    Scenario s("play_missing_file");
    const std::set<std::string> expected = makeGameMedia(s, "DEMODATA\\BK07.BK2");
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    s.script("brakdemo", "tree " + s.dir + "\\tree.txt\nexit 0\n");
    ASSERT_TRUE(s.startLauncher());
    expectCycleClosed(s, s.tmp + "\\BK2DEMO");
    EXPECT_EQ(readListing(s.dir + "\\tree.txt"), expected);
    EXPECT_EQ(s.starts("register"), 1);
    EXPECT_TRUE(boxTexts(s).empty());
}

TEST(PlayCycle, GameMissingWarnsRemovesTheTreeAndSkipsTheFollowUp)
{
    Scenario s("play_game_missing");
    makeGameMedia(s, kGameEntry);
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    ASSERT_TRUE(s.startLauncher());
    expectCycleClosed(s, s.tmp + "\\BK2DEMO");
    EXPECT_EQ(boxTexts(s), std::vector<std::string>{"Could not start BK2 Demo!"});
    EXPECT_EQ(s.starts("register"), 0);
}

TEST(PlayCycle, FileTheGameLeavesInSimKeepsSimAndTheRoot)
{
    Scenario s("play_leftover");
    makeGameMedia(s);
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    s.script("brakdemo", "write SIM\\SAVEGAME.DAT progress\nexit 0\n");
    const std::string root = s.tmp + "\\BK2DEMO";
    ASSERT_TRUE(s.startLauncher());
    ASSERT_TRUE(s.waitLauncher(60000));
    EXPECT_TRUE(fileExists(root + "\\SIM\\SAVEGAME.DAT"));
    EXPECT_FALSE(dirExists(root + "\\SIM\\LAUNCH"));
    EXPECT_FALSE(dirExists(root + "\\DEMODATA"));
    EXPECT_FALSE(fileExists(root + "\\FILES.TXT"));
    EXPECT_EQ(s.starts("register"), 1);
    EXPECT_EQ(s.starts("bk2demo"), 2);
}

TEST(PlayCycle, FollowUpMissingIsPassedOverInSilence)
{
    Scenario s("play_no_register");
    makeGameMedia(s);
    playOnceThenQuit(s);
    s.script("brakdemo", "exit 0\n");
    ASSERT_TRUE(s.startLauncher());
    expectCycleClosed(s, s.tmp + "\\BK2DEMO");
    EXPECT_EQ(s.starts("brakdemo"), 1);
    EXPECT_TRUE(boxTexts(s).empty());
}

TEST(PlayCycle, TemporaryFolderWithABlankRunsTheGameNotAProgramAtTheBlank)
{
    Scenario s("play_blank");
    makeGameMedia(s);
    playOnceThenQuit(s);
    s.script("brakdemo", "exit 0\n");
    const std::string spaced = s.dir + "\\My Temp";
    CreateDirectoryA(spaced.c_str(), nullptr);
    s.setEnv("TMP", spaced);
    s.setEnv("TEMP", spaced);
    s.addDouble("My.exe", s.dir);  // what a bare command line would run first
    ASSERT_TRUE(s.startLauncher());
    expectCycleClosed(s, spaced + "\\BK2DEMO");
    EXPECT_EQ(s.starts("my"), 0);
    ASSERT_EQ(s.starts("brakdemo"), 1);
    EXPECT_EQ(s.events("brakdemo")[0].cmdline, spaced + "\\BK2DEMO\\brakdemo.exe");
}

TEST(PlayCycle, DiskFullMidCopyWarnsRemovesTheTreeAndRunsNoGame)
{
    Scenario s("play_disk_full");
    makeGameMedia(s);
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    s.script("brakdemo", "exit 0\n");
    const std::string tiny = s.dir + "\\tiny";
    CreateDirectoryA(tiny.c_str(), nullptr);
    if (!runUnix(s.dir, "mount -t tmpfs -o size=512k tmpfs tiny"))
        GTEST_SKIP() << "a small tmpfs needs root (mount)";
    // Wine shows a mount point as a reparse point (0x410), which the
    // temporary-directory choice refuses: T is a folder inside it.
    const std::string t = tiny + "\\t";
    CreateDirectoryA(t.c_str(), nullptr);
    s.setEnv("TMP", t);
    s.setEnv("TEMP", t);
    const bool started = s.startLauncher();
    const bool ended = started && s.waitLauncher(60000);
    const bool treeGone = !dirExists(t + "\\BK2DEMO");
    runUnix(s.dir, "umount tiny");
    ASSERT_TRUE(ended);
    EXPECT_TRUE(treeGone);
    EXPECT_EQ(boxTexts(s), std::vector<std::string>{kCopyError});
    EXPECT_EQ(s.starts("brakdemo"), 0);
    EXPECT_EQ(s.starts("register"), 0);
    EXPECT_EQ(s.starts("bk2demo"), 2);
}

TEST(PlayCycle, LinkPlantedInALeftoverTreeIsNotWrittenThrough)
{
    Scenario s("play_planted_link");
    makeGameMedia(s);
    playOnceThenQuit(s);
    s.addDouble("register.exe");
    s.script("register", "exit 0\n");
    const std::string root = s.tmp + "\\BK2DEMO";
    for (const char* d : {"", "\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((root + d).c_str(), nullptr);
    writeText(s.dir + "\\users-file.txt", "the user's own file");
    // Under Wine a leftover tree holds Unix symbolic links.
    const char link[] = "tmp/BK2DEMO/SIM/NOTES.TXT";
    if (!runUnix(s.dir, std::string("ln -s ../../../users-file.txt ") + link))
        GTEST_SKIP() << "no way to plant a symbolic link here";
    ASSERT_TRUE(s.startLauncher());
    const bool ended = s.waitLauncher(60000);
    const std::string kept = readText(s.dir + "\\users-file.txt");
    // Gone before the fixture's clean-up, which deletes through links under Wine.
    runUnix(s.dir, std::string("rm -f ") + link);
    ASSERT_TRUE(ended);
    EXPECT_EQ(kept, "the user's own file");
    EXPECT_EQ(boxTexts(s), std::vector<std::string>{kCopyError});
    EXPECT_EQ(s.starts("brakdemo"), 0);
    EXPECT_EQ(s.starts("register"), 0);
    EXPECT_FALSE(dirExists(root + "\\DEMODATA"));
}

// A quit request, then a run request from a front-end that then ends: the
// tick that decides to quit comes while the removal's bar drains the queue,
// which takes the quit message out. The launcher must still end, right after
// the cycle, rather than wait for ever with its timer stopped.
TEST(PlayCycle, QuitDecidedWhileTheBarDrainsStillEndsTheLauncher)
{
    Scenario s("quit_during_drain");
    makeGameMedia(s);
    s.addDouble("BK2DEMO.EXE");
    s.script("bk2demo", "relay 0\nrelay 1\nexit 0\n", 1);
    s.script("bk2demo", "wait\n", 2);  // the front-end is back and stays
    s.script("brakdemo", "sleep 4000\nexit 0\n");  // past a tick: it waits in the queue
    ASSERT_TRUE(s.startLauncher());
    ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 2; }, 30000));
    const long long back = nowMs();
    ASSERT_TRUE(s.waitLauncher(8000)) << "the quit was lost in the bar's drain";
    EXPECT_LT(nowMs() - back, 3000);
    EXPECT_EQ(s.starts("brakdemo"), 1);
    EXPECT_EQ(s.launcherExitCode(), 0u);
}
