// The fault matrix: whole play cycles of the real programs under Wine, one
// row a fault. A row states what it plants, what it does while the launcher
// runs and what the player must see; one runner does the rest and checks the
// same final state for every row: no byte changed outside the demo tree.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "common/ctlmsg.h"
#include "launcher/manifest.h"
#include "media/filelist.h"
#include "tests/common/unixside.h"
#include "tests/common/winegen.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/snapshot.h"

namespace {
const char kCopyError[] = "ERROR: Could not copy the BK2 Demo files.";
const char kNoDirs[] = "Could not create temporary BK2 Demo Directories!";
const char kNoStart[] = "Could not start BK2 Demo!";
const char kGameEntry[] = "Brakdemo.exe";

// What a row sets up before the launcher starts.
enum Plant {
    Plain,
    BigMedia,          // a 30 MB file, so that the install lasts
    GameMissing,       // no game program on the media
    FileMissing,       // one data file missing on the media
    FollowMissing,     // no register.exe
    MenuMissing,       // no front-end
    ReadOnlyMedia,     // every media file read-only
    MediaReadError,    // a media file whose reads fail
    EndlessMedia,      // a media file that never ends: the install lasts until stopped
    DiskFull,          // T on a 512 KiB tmpfs
    LatinNames,        // media and T under "Jürgen ..."; the cut name exists
    CyrillicNames,     // media and T under "Дмитрий"; the cut lands on T's parent
    BlankInT,          // T with a blank, and a program at the blank
    TmpTooLong,        // TMP one character past the room; TEMP usable
    TmpFile,           // TMP a file, no TEMP: T is C:
    TmpHidden,
    TmpReadOnly,
    TmpEmpty,          // and TEMP with a trailing backslash
    TmpDoubleByte932,  // the launcher in a double-byte code page (kCodePages)
    TmpDoubleByte936,
    TmpDoubleByte949,
    TmpDoubleByte950,
    LeftoverOurs,      // a whole leftover tree of ours plus a foreign file
    LeftoverRoot,      // a leftover root holding a foreign file
    ForeignRoot,       // another account's root, with a program of our game's name
    DemodataFile,      // a file where DEMODATA should be
    FileLink,          // SIM\NOTES.TXT a link to a user's file
    DirLink,           // SIM a link to a user's folder
    LauncherInJob,     // the launcher itself runs in a job that allows no breakaway
    OlderWindows,      // no job list at process creation, as before Windows 10
};

// What the runner does while the launcher runs.
enum Act {
    Wait,
    KillInInstall,   // kill the launcher at its install bar, start it again
    KillInGame,      // kill it while the game runs, close the game, start it again
    Runs100,         // 100 run requests within a second
    Garbage300,      // 300 relays with garbage arguments, then the front-end closes
    CloseInGame,     // a close request to the hidden window while the game runs
    SecondInGame,    // a second launcher while the game runs
    ReleaseHeld,     // let go of a file of the leftover tree 2 s after the start
    // The launcher ends as if killed right after creating the menu, the game or
    // the follow-up, before the child may run; a new launcher starts.
    EndAtMenuStart,
    EndAtGameStart,
    EndAtFollowStart,
    // The session ends (wineboot --end-session) ... (last: rows test act >= EndInInstall)
    EndInInstall,    // ... at the install bar
    EndInGame,       // ... while the game runs
    EndInFollowUp,   // ... while register.exe runs
    EndAtMenu,       // ... with only the menu running
};

// Extra checks a few rows need beyond the common columns.
enum Check {
    None = 0,
    GameListing = 1,      // the game saw every file, exactly
    HelperListing = 2,    // so did the helper, 3 s after the game had gone
    AfterHelper = 4,      // the removal came after the helper's end
    BeforeHelper = 8,     // ... before it: the helper left the job
    Bounded = 16,         // ... 60 s after the game's end, helper still running
    GameSurvives = 32,    // the game outlived the killed launcher
    EndsSoonAfterMenu = 64,  // the launcher ended within a tick of the menu's return
    NoQuit = 128,         // the garbage set no quit: two ticks after the menu went
    TrapNotRun = 256,     // the program at the blank never ran
    ShutdownOrder = 512,  // needs the game's session messages before the launcher's
    Private = 1024,       // the folders left let nobody else in: no "other" mode bits
    AsItWas = 2048,       // the root left exactly as planted: owner, modes, sizes, times
};

struct Row {
    const char* name;
    Plant plant;
    Act act;
    const char* game;    // the game's script
    const char* helper;  // the script of helper.exe, which the game may start
    const char* menu1;   // the front-end's first start
    const char* menu2;   // its later starts
    const char* follow;  // register.exe's script
    // What the player must see, and what must be left.
    const char* boxes;   // texts, '|' between
    int games;           // starts of the game
    int follows;         // starts of register.exe
    bool menuBack;       // the front-end started again
    const char* left;    // files left in T, '|' between
    int checks;
    bool slow;           // beyond the CI budget: runs under scripts/matrix only
};

const char kPlay[] = "relay 1\nexit 0\n";
const char kQuit[] = "relay 0\nexit 0\n";
const char kExit[] = "exit 0\n";
const char kList[] = "tree %DIR%\\game-tree.txt\nping\nrelay 1\nsleep 300\nexit 0\n";

const Row kRows[] = {
    // name, plant, act, game, helper, menu1, menu2, follow,
    // boxes, games, follows, menuBack, left, checks, slow
    {"full_cycle", Plain, Wait, kList, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", GameListing, false},
    {"child_reads_after_game_exits", Plain, Wait, "spawn helper.exe\nexit 0\n",
     "sleep 3000\ntree %DIR%\\helper-tree.txt\nexit 0\n", kPlay, kQuit, kExit,
     "", 1, 1, true, "", HelperListing | AfterHelper, false},
    {"helper_outlives_the_bound", Plain, Wait, "spawn helper.exe\nexit 0\n",
     "sleep 80000\nexit 0\n", kPlay, kQuit, kExit, "", 1, 1, true, "", Bounded, true},
    {"game_marks_files_read_only", Plain, Wait,
     "readonly DEMODATA\\BK01.BK2\nreadonly SIM\\LAUNCH\\PAD6.SHP\nreadonly FILES.TXT\nexit 0\n",
     "",
     kPlay, kQuit, kExit, "", 1, 1, true, "", None, false},
    {"held_open_by_a_process_that_left_the_job", Plain, Wait,
     "spawnaway helper.exe\nsleep 1000\nexit 0\n",
     "hold DEMODATA\\BK02.BK2\nsleep 20000\nexit 0\n", kPlay, kQuit, kExit,
     "", 1, 1, true, "BK2DEMO\\DEMODATA\\BK02.BK2", BeforeHelper, false},
    {"held_briefly_by_a_process_that_left_the_job", Plain, Wait,
     "spawnaway helper.exe\nsleep 1000\nexit 0\n", "hold DEMODATA\\BK03.BK2\nsleep 2500\nexit 0\n",
     kPlay, kQuit, kExit, "", 1, 1, true, "", None, false},
    {"game_crashes", Plain, Wait, "sleep 200\ncrash\n", "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"game_never_idle", Plain, Wait, "busy 16000\nexit 0\n", "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"killed_in_install_then_started_again", BigMedia, KillInInstall, kExit, "", kPlay, kQuit,
     kExit,
     "", 1, 1, true, "", None, false},
    {"killed_while_the_game_runs", Plain, KillInGame, "wait\n", "", kPlay, kQuit, kExit,
     "", 1, 0, true, "", GameSurvives, false},
    {"leftover_tree_with_a_foreign_file", LeftoverOurs, ReleaseHeld, kExit, "", kQuit, kQuit, kExit,
     "", 0, 0, false, "BK2DEMO\\SIM\\FOREIGN.TXT", None, false},
    {"leftover_root_accepted", LeftoverRoot, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "BK2DEMO\\OLDRUN.TXT", Private, false},
    {"another_accounts_root_refused", ForeignRoot, Wait, kExit, "", kPlay, kQuit, kExit,
     kNoDirs, 0, 0, true, "BK2DEMO\\Brakdemo.exe", AsItWas, false},
    {"disk_full_mid_copy", DiskFull, Wait, kExit, "", kPlay, kQuit, kExit,
     kCopyError, 0, 0, true, "", None, false},
    {"media_file_fails_to_read", MediaReadError, Wait, kExit, "", kPlay, kQuit, kExit,
     kCopyError, 0, 0, true, "", None, false},
    {"media_read_only", ReadOnlyMedia, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"media_file_missing", FileMissing, Wait, kList, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", GameListing, false},
    {"game_missing", GameMissing, Wait, kExit, "", kPlay, kQuit, kExit,
     kNoStart, 0, 0, true, "", None, false},
    {"game_leaves_a_file_in_sim", Plain, Wait, "write SIM\\SAVEGAME.DAT progress\nexit 0\n", "",
     kPlay, kQuit, kExit, "", 1, 1, true, "BK2DEMO\\SIM\\SAVEGAME.DAT", Private, false},
    {"latin_letters_and_blanks", LatinNames, Wait, kList, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", GameListing, false},
    {"cyrillic_letters", CyrillicNames, Wait, kList, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", GameListing, false},
    {"t_with_a_blank", BlankInT, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", TrapNotRun, false},
    {"tmp_too_long", TmpTooLong, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"tmp_a_file_no_temp", TmpFile, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"tmp_hidden", TmpHidden, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"tmp_read_only", TmpReadOnly, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"tmp_empty", TmpEmpty, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"tmp_ends_in_a_double_byte_letter_932", TmpDoubleByte932, Wait, kList, "", kPlay, kQuit,
     kExit, "", 1, 1, true, "", GameListing, false},
    {"tmp_ends_in_a_double_byte_letter_936", TmpDoubleByte936, Wait, kList, "", kPlay, kQuit,
     kExit, "", 1, 1, true, "", GameListing, false},
    {"tmp_ends_in_a_double_byte_letter_949", TmpDoubleByte949, Wait, kList, "", kPlay, kQuit,
     kExit, "", 1, 1, true, "", GameListing, false},
    {"tmp_ends_in_a_double_byte_letter_950", TmpDoubleByte950, Wait, kList, "", kPlay, kQuit,
     kExit, "", 1, 1, true, "", GameListing, false},
    {"demodata_a_file", DemodataFile, Wait, kExit, "", kPlay, kQuit, kExit,
     kNoDirs, 0, 0, true, "BK2DEMO\\DEMODATA", None, false},
    {"file_link_in_a_leftover_tree", FileLink, Wait, kExit, "", kPlay, kQuit, kExit,
     kCopyError, 0, 0, true, "link BK2DEMO\\SIM\\NOTES.TXT", None, false},
    {"directory_link_in_a_leftover_tree", DirLink, Wait, kExit, "", kPlay, kQuit, kExit,
     kNoDirs, 0, 0, true, "link BK2DEMO\\SIM", None, false},
    {"launcher_in_a_job", LauncherInJob, Wait, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"quit_while_the_game_runs", Plain, Wait, "relay 0\nsleep 500\nexit 0\n", "", kPlay,
     "at 1500\nexit 0\n", kExit, "", 1, 1, true, "", None, false},
    {"menu_missing", MenuMissing, Wait, kExit, "", "", "", kExit,
     kNoStart, 0, 0, false, "", None, false},
    {"menu_crashes", Plain, Wait, kExit, "", "at 1000\ncrash\n", "", kExit,
     "", 0, 0, false, "", None, false},
    {"menu_ends_by_itself", Plain, Wait, kExit, "", "at 1000\nexit 0\n", "", kExit,
     "", 0, 0, false, "", None, false},
    {"follow_up_missing", FollowMissing, Wait, kExit, "", kPlay, kQuit, "",
     "", 1, 0, true, "", None, false},
    {"follow_up_crashes", Plain, Wait, kExit, "", kPlay, kQuit, "crash\n",
     "", 1, 1, true, "", None, false},
    // The game outlasts the burst: a request still queued after the removal's
    // last drain would start another cycle, as described.
    {"100_run_requests_in_a_second", Plain, Runs100, "sleep 2000\nexit 0\n", "", "wait\n", kQuit,
     kExit,
     "", 1, 1, true, "", None, false},
    {"300_relays_with_garbage", Plain, Garbage300, kExit, "", "wait\n", kQuit, kExit,
     "", 0, 0, false, "", NoQuit, false},
    {"quit_decided_in_the_bars_drain", Plain, Wait, "sleep 4000\nexit 0\n", "",
     "relay 0\nrelay 1\nexit 0\n",
     "wait\n", kExit, "", 1, 1, true, "", EndsSoonAfterMenu, false},
    // The cycle cleans up and runs the follow-up; no menu is left unwatched.
    {"close_request_during_a_cycle", Plain, CloseInGame, "sleep 2000\nexit 0\n", "", kPlay,
     "wait\n", kExit, "", 1, 1, false, "", None, false},
    // No child is left suspended for good: with a job list it dies with the
    // launcher; without, the new launcher ends it by the record in the demo root.
    {"ended_at_the_games_start", Plain, EndAtGameStart, kExit, "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", None, false},
    {"ended_at_the_menus_start_older_windows", OlderWindows, EndAtMenuStart, kExit, "", kPlay,
     kQuit, kExit, "", 1, 1, true, "", None, false},
    {"ended_at_the_games_start_older_windows", OlderWindows, EndAtGameStart, kExit, "", kPlay,
     kQuit, kExit, "", 1, 1, true, "", None, false},
    {"ended_at_the_follow_ups_start_older_windows", OlderWindows, EndAtFollowStart, kExit, "",
     kPlay, kQuit, kExit, "", 1, 0, true, "", None, false},
    {"second_launcher_during_a_cycle", Plain, SecondInGame,
     "sleep 2500\ntree %DIR%\\game-tree.txt\nexit 0\n", "", kPlay, kQuit, kExit,
     "", 1, 1, true, "", GameListing, false},
    // The programs stay until the session's end has them closed.
    {"session_ends_in_the_install", EndlessMedia, EndInInstall, kExit, "", kPlay, kQuit, kExit,
     "", 0, 0, false, "", None, false},
    {"session_ends_while_the_game_runs", Plain, EndInGame, "wait\n", "", kPlay, kQuit, kExit,
     "", 1, 0, false, "", ShutdownOrder, false},
    // The game ends by itself 1.5 s after its start, within the launcher's 3 s
    // for its tree: the tree must go whole, and nothing follow.
    {"session_ends_as_the_game_ends", Plain, EndInGame, "sleep 1500\nexit 0\n", "", kPlay, kQuit,
     kExit, "", 1, 0, false, "", None, false},
    {"session_ends_in_the_follow_up", Plain, EndInFollowUp, kExit, "", kPlay, kQuit, "wait\n",
     "", 1, 1, false, "", None, false},
    {"session_ends_at_the_menu", Plain, EndAtMenu, kExit, "", "wait\n", "", kExit,
     "", 0, 0, false, "", None, false},
};

// The code-page rows: the launcher built without the UTF-8 request, as Windows
// before 10 version 1903 runs it, with T ending in a letter whose second byte
// reads as a backslash (949 has no such letter: one whose second byte reads as
// a capital). Each runs in a ctest entry of its own (e2e.codepage.N), whose
// Unix locale gives Wine that code page.
const struct {
    Plant plant;
    int codePage;
    const char* letter;  // UTF-8
} kCodePages[] = {
    {TmpDoubleByte932, 932, "\xE3\x82\xBD"},  // ソ, 83 5C
    {TmpDoubleByte936, 936, "\xE4\xB9\x97"},  // 乗, 81 5C
    {TmpDoubleByte949, 949, "\xEA\xB0\x82"},  // 갂, 81 41
    {TmpDoubleByte950, 950, "\xE8\xA8\xB1"},  // 許, B3 5C
};

// ---- media, listings, the Unix side ------------------------------------

// Small, deterministic game files: about 1.2 MB in all.
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
    return upper(head + path);
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

// A shell command on the Unix side, run in the scenario's folder.
bool runUnixIn(const std::string& dir, const std::string& command)
{
    const std::string here = unixPath(dir);
    return !here.empty() && runUnix("cd '" + here + "' && " + command);
}

std::string replaced(std::string s, const std::string& from, const std::string& to)
{
    for (size_t p = 0; (p = s.find(from, p)) != std::string::npos; p += to.size())
        s.replace(p, from.size(), to);
    return s;
}

// How many of the doubles run (of one name, if given).
int doublesRunning(const char* only = nullptr)
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return -1;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    int n = 0;
    for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
        for (const char* name : {"BK2DEMO.EXE", "Brakdemo.exe", "register.exe", "helper.exe"})
            n += (!only || lstrcmpiA(only, name) == 0) && lstrcmpiA(pe.szExeFile, name) == 0;
    CloseHandle(snap);
    return n;
}

// The child an EndAt* act ends the launcher at: its role and program.
int endedStart(Act a)
{
    return a == EndAtMenuStart ? 1 : a == EndAtGameStart ? 2 : a == EndAtFollowStart ? 3 : 0;
}
const char* const kStartRole[] = {"", "bk2demo", "brakdemo", "register"};
const char* const kStartExe[] = {"", "BK2DEMO.EXE", "Brakdemo.exe", "register.exe"};
const DWORD kSeamExit = 99;  // procattr_seam.cpp

long long eventMs(Scenario& s, const std::string& role, const char* what, int nth = 0)
{
    for (const RoleEvent& e : s.events(role))
        if (e.what == what && nth-- == 0)
            return e.ms;
    return -1;
}

// Whether Wine shows the owner of path as this process's own account.
bool ownedByMe(const std::string& path)
{
    alignas(8) unsigned char sd[256], user[128];
    DWORD n;
    HANDLE token;
    PSID owner = nullptr;
    BOOL defaulted;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const bool read = GetTokenInformation(token, TokenUser, user, sizeof user, &n) &&
                      GetFileSecurityA(path.c_str(), OWNER_SECURITY_INFORMATION, sd, sizeof sd,
                                       &n) &&
                      GetSecurityDescriptorOwner(sd, &owner, &defaulted) && owner;
    CloseHandle(token);
    return read && EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
}

// Whether the folders that are there of dirs let nobody else in: Wine turns an
// access list into mode bits, and Everyone's into the "other" ones.
bool othersKeptOut(Scenario& s, const std::vector<std::string>& dirs)
{
    std::string list;
    for (const std::string& d : dirs)
        list += " '" + unixPath(d) + "'";
    return runUnixIn(s.dir, "for d in" + list + "; do [ ! -e \"$d\" ] || "
                                                "[ $(( 0$(stat -c %a \"$d\") & 7 )) = 0 ] || exit 1; done");
}

// The root as the Unix side has it, into a file the snapshot passes over.
bool rootState(Scenario& s, const std::string& root, const char* file)
{
    return runUnixIn(s.dir, "find '" + unixPath(root) +
                                "' -printf '%P %U:%G %m %s %T@\\n' | sort > " + file);
}

// ---- the runner --------------------------------------------------------

class Matrix : public ::testing::TestWithParam<Row> {
protected:
    // Lays out media and folders for the row; T, or "" to skip with why.
    std::string plant(Scenario& s, const Row& r, std::string* why);
    void act(Scenario& s, const Row& r);
    void report(const Row& r, const std::string& line);
    void endSession(Scenario& s);

    std::set<std::string> links_;      // planted links, upper case
    std::set<std::string> expected_;   // the game's listing
public:
    std::vector<std::string> undo_;    // Unix commands that put things back
protected:
    std::string t_;
    HANDLE held_ = INVALID_HANDLE_VALUE;
    bool gameAlive_ = false;
    long long menuGoneMs_ = 0;
    long long endRequestMs_ = 0;  // when the session's end was asked for
    DWORD secondExit_ = 0xFFFFFFFF;
    int uncounted_ = 0;  // starts of the ended child that it logged before it died
};

std::string Matrix::plant(Scenario& s, const Row& r, std::string* why)
{
    std::string media = s.media, t = s.tmp;
    const std::string user = s.dir + "\\user";
    CreateDirectoryA(user.c_str(), nullptr);
    writeText(user + "\\letter.txt", "the user's own file");
    if (r.plant == LatinNames || r.plant == CyrillicNames) {
        const bool latin = r.plant == LatinNames;
        media = s.dir + (latin ? "\\J\xC3\xBCrgen Media" : "\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82"
                                                           "\xD1\x80\xD0\xB8\xD0\xB9 media");
        CreateDirectoryA(media.c_str(), nullptr);
        for (const char* exe : {"brakstart.exe", "brakpass.exe"})
            CopyFileA((s.media + "\\" + exe).c_str(), (media + "\\" + exe).c_str(), FALSE);
        if (latin) {
            t = s.tmp + "\\J\xC3\xBCrgen Temp";
            // Where a cut would land.
            CreateDirectoryA((s.tmp + "\\J\xC3\xBCrgen Tem").c_str(), nullptr);
        } else {
            const std::string parent =
                s.tmp + "\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9";
            CreateDirectoryA(parent.c_str(), nullptr);  // where a cut lands
            t = parent + "\\AppTemp";
        }
        CreateDirectoryA(t.c_str(), nullptr);
        s.media = media;
        s.setEnv("BRAKTEST_RELAY", media + "\\brakpass.exe");
    }

    for (const char* sub : {"\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((media + sub).c_str(), nullptr);
    const char* missing = r.plant == GameMissing ? kGameEntry
                          : r.plant == FileMissing ? "DEMODATA\\BK07.BK2" : "";
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        const std::string entry = installManifest[i];
        std::string data;
        if (entry == kGameEntry) {
            if (entry != missing)
                s.addDouble(kGameEntry);
            data = readText(binDir() + "\\double.exe");
        } else if (entry != missing) {
            data = gameFile(i);
            if (r.plant == BigMedia && i == 5)
                data.resize(30u << 20, 'x');
            writeText(media + "\\" + entry, data);
        }
        expected_.insert(listingLine(entry == missing ? "" : data, entry));
    }
    if (r.plant != MenuMissing)
        s.addDouble("BK2DEMO.EXE");
    if (r.plant != FollowMissing)
        s.addDouble("register.exe");
    s.addDouble("helper.exe");

    if (endedStart(r.act)) {
        CopyFileA((binDir() + "\\brakstart_seam.exe").c_str(), (media + "\\brakstart.exe").c_str(),
                  FALSE);
        s.setEnv("BRAKTEST_END_AT_START", std::to_string(endedStart(r.act)));
    }
    const std::string root = t + "\\BK2DEMO";
    auto makeTree = [&](const std::string& at) {
        for (const char* d : {"", "\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
            CreateDirectoryA((at + "\\BK2DEMO" + d).c_str(), nullptr);
    };
    switch (r.plant) {
    case ReadOnlyMedia:
        for (const char* entry : installManifest)
            SetFileAttributesA((media + "\\" + entry).c_str(), FILE_ATTRIBUTE_READONLY);
        break;
    case MediaReadError: {
        // A source whose reads fail with EIO (a process's memory at address 0)
        // stands in for a bad medium.
        const std::string entry = "DEMODATA\\BK13.BK2";
        DeleteFileA((media + "\\" + entry).c_str());
        if (!runUnixIn(s.dir, "ln -s /proc/self/mem media/DEMODATA/BK13.BK2")) {
            *why = "no way to make a source that fails to read";
            return "";
        }
        links_.insert(upper(media + "\\" + entry));
        undo_.push_back("rm -f media/DEMODATA/BK13.BK2");
        break;
    }
    case EndlessMedia: {
        // Wine reads a link to /dev/zero as a file without end.
        const std::string entry = "DEMODATA\\BK13.BK2";
        DeleteFileA((media + "\\" + entry).c_str());
        if (!runUnixIn(s.dir, "ln -s /dev/zero media/DEMODATA/BK13.BK2")) {
            *why = "no way to make a source without end";
            return "";
        }
        links_.insert(upper(media + "\\" + entry));
        undo_.push_back("rm -f media/DEMODATA/BK13.BK2");
        break;
    }
    case DiskFull: {
        const std::string tiny = s.dir + "\\tiny";
        CreateDirectoryA(tiny.c_str(), nullptr);
        if (!runUnixIn(s.dir, "mount -t tmpfs -o size=512k tmpfs tiny")) {
            *why = "a small tmpfs needs root (mount)";
            return "";
        }
        undo_.push_back("umount tiny");
        // Wine shows a mount point as a reparse point (0x410), which the
        // temporary-directory choice refuses: T is a folder inside it.
        t = tiny + "\\t";
        CreateDirectoryA(t.c_str(), nullptr);
        break;
    }
    case BlankInT:
        t = s.tmp + "\\My Temp";
        CreateDirectoryA(t.c_str(), nullptr);
        s.addDouble("My.exe", s.tmp);  // what a bare command line would run first
        break;
    case TmpTooLong: {
        // The longest T that leaves room is 200 - 1 - "\BK2DEMO\" - the longest entry.
        size_t longest = 0;
        for (const char* e : installManifest)
            longest = std::max(longest, strlen(e));
        std::string deep = s.tmp;
        const size_t want = 200 - 1 - 9 - longest + 1;  // one past the room
        while (deep.size() + 21 < want) {
            deep += "\\dddddddddddddddddddd";
            CreateDirectoryA(deep.c_str(), nullptr);
        }
        deep += "\\" + std::string(want - deep.size() - 1, 'e');
        CreateDirectoryA(deep.c_str(), nullptr);
        if (deep.size() != want || !dirExists(deep)) {
            *why = "no folder of " + std::to_string(want) + " characters";
            return "";
        }
        t = s.tmp + "\\temp";
        CreateDirectoryA(t.c_str(), nullptr);
        s.setEnv("TMP", deep);
        s.setEnv("TEMP", t);
        return t;
    }
    case TmpFile:
        removeTree("C:\\BK2DEMO");
        writeText(s.tmp + "\\afile", "not a directory");
        s.setEnv("TMP", s.tmp + "\\afile");
        s.unsetEnv("TEMP");
        return "C:";
    case TmpHidden: {
        // Wine 8 shows a directory whose name begins with a dot as hidden (0x12);
        // Wine 10 no longer does, but keeps the attribute set outright, as Windows does.
        const std::string hidden = s.tmp + "\\.hidden";
        CreateDirectoryA(hidden.c_str(), nullptr);
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
        if (!(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN)) {
            *why = wineName() + " keeps no hidden directory, by dot name or by attribute";
            return "";
        }
        t = s.tmp + "\\temp";
        CreateDirectoryA(t.c_str(), nullptr);
        s.setEnv("TMP", hidden);
        s.setEnv("TEMP", t);
        return t;
    }
    case TmpReadOnly: {
        // Wine drops SetFileAttributesA's read-only bit on a directory; the
        // build makes one without write bits (0x11) instead.
        const std::string ro = binDir() + "\\readonly-dir";
        if (GetFileAttributesA(ro.c_str()) != 0x11u) {
            *why = "no read-only directory to offer as TMP";
            return "";
        }
        removeTree(ro + "\\BK2DEMO");
        t = s.tmp + "\\temp";
        CreateDirectoryA(t.c_str(), nullptr);
        s.setEnv("TMP", ro);
        s.setEnv("TEMP", t);
        return t;
    }
    case TmpDoubleByte932:
    case TmpDoubleByte936:
    case TmpDoubleByte949:
    case TmpDoubleByte950: {
        const auto* cp = kCodePages;
        while (cp->plant != r.plant)
            ++cp;
        const char* wanted = getenv("BRAKTEST_CODEPAGE");
        if (!wanted || strtol(wanted, nullptr, 10) != cp->codePage) {
            *why = "runs under its own locale: e2e.codepage." + std::to_string(cp->codePage);
            return "";
        }
        char acp[8] = "";
        GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, acp, sizeof acp);
        if (strtol(acp, nullptr, 10) != cp->codePage) {
            ADD_FAILURE() << "the system code page is " << acp << ", not " << cp->codePage
                          << ": is the locale made (scripts/setup)?";
            *why = "wrong locale";
            return "";
        }
        if (!CopyFileA((binDir() + "\\brakstart_acp.exe").c_str(),
                       (media + "\\brakstart.exe").c_str(), FALSE)) {
            ADD_FAILURE() << "no brakstart_acp.exe";
            *why = "no launcher";
            return "";
        }
        t = s.tmp + "\\Z" + cp->letter;
        CreateDirectoryA(t.c_str(), nullptr);
        break;
    }
    case TmpEmpty:
        t = s.tmp + "\\temp";
        CreateDirectoryA(t.c_str(), nullptr);
        s.setEnv("TMP", "");
        s.setEnv("TEMP", t + "\\");  // its trailing backslash goes
        return t;
    case LeftoverOurs:
        makeTree(t);
        for (int i = 0; i < INSTALL_COUNT; ++i)
            writeText(root + "\\" + installManifest[i], gameFile(i));
        SetFileAttributesA((root + "\\SIM\\SIM.INI").c_str(), FILE_ATTRIBUTE_READONLY);
        writeText(root + "\\SIM\\FOREIGN.TXT", "not ours");
        // Held past the clean-up's first tries, which must try again.
        held_ = CreateFileA((root + "\\SIM\\TRACK1.MAP").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
        break;
    case LeftoverRoot:
        makeTree(t);
        writeText(root + "\\OLDRUN.TXT", "from before");
        break;
    case ForeignRoot:
        CreateDirectoryA(root.c_str(), nullptr);
        writeText(root + "\\Brakdemo.exe", "not the game");
        if (!runUnixIn(s.dir, "chown -R 4321:4321 '" + unixPath(root) + "'")) {
            *why = "another uid's folder needs root (chown)";
            return "";
        }
        undo_.push_back("chown -R $(id -u):$(id -g) '" + unixPath(root) + "'");
        if (ownedByMe(root)) {
            *why = wineName() + " shows another uid's folder as the user's own";
            return "";
        }
        break;
    case DemodataFile:
        CreateDirectoryA(root.c_str(), nullptr);
        writeText(root + "\\DEMODATA", "in the way");
        break;
    case FileLink:
        makeTree(t);
        if (!runUnixIn(s.dir, "ln -s ../../../user/letter.txt tmp/BK2DEMO/SIM/NOTES.TXT")) {
            *why = "no way to plant a symbolic link here";
            return "";
        }
        links_.insert(upper(root + "\\SIM\\NOTES.TXT"));
        undo_.push_back("rm -f tmp/BK2DEMO/SIM/NOTES.TXT");
        break;
    case DirLink:
        // The user's folder holds an empty LAUNCH and a file of one of our names.
        CreateDirectoryA((user + "\\LAUNCH").c_str(), nullptr);
        writeText(user + "\\SIM.INI", "the user's settings");
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA((root + "\\DEMODATA").c_str(), nullptr);
        if (!runUnixIn(s.dir, "ln -s ../../user tmp/BK2DEMO/SIM")) {
            *why = "no way to plant a symbolic link here";
            return "";
        }
        links_.insert(upper(root + "\\SIM"));
        undo_.push_back("rm -f tmp/BK2DEMO/SIM");
        break;
    case OlderWindows:
        s.setEnv("BRAKTEST_OLD_WINDOWS", "1");
        break;
    case LauncherInJob:
        // Wine 8 and Wine 10 nest jobs as Windows 8 does, so the game's job sits in this
        // one; before Windows 8 the assignment fails and the wait falls back
        // to the game's own process (not reachable here).
        s.launcherJob = CreateJobObjectA(nullptr, nullptr);
        if (!s.launcherJob) {
            *why = "no job object here";
            return "";
        }
        break;
    default:
        break;
    }
    s.setEnv("TMP", t);
    s.setEnv("TEMP", t);
    return t;
}

// Ends the session as Windows does, in the scenario's own prefix: every top-level
// window gets WM_QUERYENDSESSION, then WM_ENDSESSION.
void Matrix::endSession(Scenario& s)
{
    char cmd[] = "wineboot.exe --end-session";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    endRequestMs_ = nowMs();
    ASSERT_TRUE(CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                               &pi));
    s.waitLauncher(20000);  // its end, timed as it comes
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, patient(30000)), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

void Matrix::act(Scenario& s, const Row& r)
{
    switch (r.act) {
    case EndInInstall:
        ASSERT_TRUE(s.waitFor([&] { return !s.robot.barTitles().empty(); }, 30000));
        endSession(s);
        break;
    case EndInGame:
        ASSERT_TRUE(s.waitFor([&] { return s.starts("brakdemo") == 1; }, 30000));
        endSession(s);
        break;
    case EndInFollowUp:
        ASSERT_TRUE(s.waitFor([&] { return s.starts("register") == 1; }, 30000));
        endSession(s);
        break;
    case EndAtMenu:
        ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 1; }, 20000));
        Sleep(1000);  // past the launcher's wait for the menu to be idle
        endSession(s);
        break;
    case KillInInstall:
        ASSERT_TRUE(s.waitFor([&] { return !s.robot.barTitles().empty(); }, 30000));
        s.killLauncher();
        EXPECT_EQ(s.starts("brakdemo"), 0) << "the kill came after the install";
        s.script("bk2demo", kPlay, 2);  // the restarted launcher's front-end plays once more
        s.startLauncher();
        break;
    case KillInGame:
        ASSERT_TRUE(s.waitFor([&] { return s.starts("brakdemo") == 1; }, 30000));
        s.killLauncher();
        Sleep(500);
        gameAlive_ = FindWindowA("BrakTestDouble", "brakdemo") != nullptr;
        s.closeRole("brakdemo");
        s.waitFor([&] { return eventMs(s, "brakdemo", "exit") >= 0; }, 10000);
        s.startLauncher();
        break;
    case Runs100: {
        ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 1; }, 20000));
        const UINT msg = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
        for (int i = 0; i < 100; ++i) {
            PostMessageA(HWND_BROADCAST, msg, BRAK_CODE_RUN, 0);
            Sleep(5);
        }
        ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 2; }, 60000));
        s.closeRole("bk2demo");  // the first front-end, still waiting
        break;
    }
    case Garbage300: {
        ASSERT_TRUE(s.waitFor([&] { return s.starts("bk2demo") == 1; }, 20000));
        // None reads as 0 or 1: digits from 2 up, then junk.
        const char* junk[] = {"", "x", " 1", "-", "abc", "\"", "1", "0", "%s", "\t9"};
        std::vector<std::string> args;
        for (int i = 0; i < 300; ++i) {
            const long n = (i % 2 ? -1 : 1) * (2 + (i * 7919L) % 100000);
            args.push_back(std::to_string(n) + junk[i % 10]);
        }
        s.relays(args, 20);
        EXPECT_FALSE(s.waitLauncher(0));
        menuGoneMs_ = nowMs();
        s.closeRole("bk2demo");
        break;
    }
    case CloseInGame:
        ASSERT_TRUE(s.waitFor([&] { return s.starts("brakdemo") == 1; }, 30000));
        PostMessageA(s.launcherWindow(), WM_CLOSE, 0, 0);
        break;
    case SecondInGame: {
        ASSERT_TRUE(s.waitFor([&] { return s.starts("brakdemo") == 1; }, 30000));
        secondExit_ = s.runSecondLauncher(5000);
        break;
    }
    case ReleaseHeld:
        Sleep(2000);
        CloseHandle(held_);
        break;
    case EndAtMenuStart:
    case EndAtGameStart:
    case EndAtFollowStart: {
        const int n = endedStart(r.act);
        ASSERT_TRUE(s.waitLauncher(60000));
        ASSERT_EQ(s.launcherExitCode(), kSeamExit) << "the launcher did not end at the start";
        if (r.plant == OlderWindows) {
            EXPECT_TRUE(fileExists(t_ + "\\BK2DEMO\\BK2START.REC")) << "no record of the start";
            EXPECT_TRUE(othersKeptOut(s, {t_ + "\\BK2DEMO"})) << "the record's folder lets others in";
        } else {
            EXPECT_TRUE(s.waitFor([&] { return doublesRunning(kStartExe[n]) == 0; }, 15000))
                << kStartExe[n] << " outlived the launcher ended at its start";
        }
        // With a job list the child may have run a moment before the job ended it.
        uncounted_ = s.starts(kStartRole[n]);
        if (n == 2)
            s.script("bk2demo", kPlay, 2);  // the new launcher's front-end plays once more
        s.setEnv("BRAKTEST_END_AT_START", "0");
        s.startLauncher();
        break;
    }
    case Wait:
        break;
    }
}

void Matrix::report(const Row& r, const std::string& line)
{
    printf("[ matrix ] %s\n", line.c_str());
    const std::string dir = workDir() + "\\matrix";
    CreateDirectoryA(dir.c_str(), nullptr);
    char index[8];
    int i = 0;
    while (strcmp(kRows[i].name, r.name) != 0)
        ++i;
    std::snprintf(index, sizeof index, "%02d-", i);
    writeText(dir + "\\" + index + r.name + ".row", line + "\n");
}

TEST_P(Matrix, Row)
{
    const Row& r = GetParam();
    if (r.slow && !getenv("BRAKTEST_SLOW"))
        GTEST_SKIP() << "beyond the CI budget: scripts/matrix runs it";
    Scenario s(r.name);
    std::string why;
    t_ = plant(s, r, &why);
    struct Undo {
        Matrix* m;
        Scenario& s;
        ~Undo()
        {
            for (const std::string& c : m->undo_)
                runUnixIn(s.dir, c);
        }
    } undo{this, s};
    if (t_.empty())
        GTEST_SKIP() << why;
    const bool endsSession = r.act >= EndInInstall;
    if (endsSession && !wineMajor())
        GTEST_SKIP() << "the session's end comes from wineboot, which only Wine has";
    if ((r.checks & ShutdownOrder) && wineMajor())
        GTEST_SKIP() << wineName() << " ends the session process by process in process-ID order, "
                        "not in the shutdown order the launcher sets: the game gets its "
                        "WM_ENDSESSION only after the launcher's clean-up, with its program "
                        "file still in use (left in T, for the next start)";
    const std::string root = t_ + "\\BK2DEMO";
    auto fill = [&](const char* text) { return replaced(text, "%DIR%", s.dir); };
    s.script("brakdemo", fill(r.game));
    s.script("helper", fill(r.helper));
    s.script("bk2demo", r.menu1, 1);
    s.script("bk2demo", r.menu2);
    s.script("register", r.follow);

    // Everything the player owns that a run might touch: the media, the rest of
    // the temporary folder, the user's folder.
    std::set<std::string> skip = links_;
    skip.insert(upper(root));
    std::map<std::string, std::string> before, after;
    snapshot(s.dir, "", skip, &before);
    if (r.checks & AsItWas) {
        ASSERT_TRUE(rootState(s, root, "root-before.log"));
    }

    const long long t0 = nowMs();
    ASSERT_TRUE(s.startLauncher());
    act(s, r);
    const bool ended = s.waitLauncher(r.slow ? 150000 : 90000) && s.launcherExitCode() == 0;
    const double seconds = (nowMs() - t0) / 1000.0;
    Sleep(300);  // a helper's last write
    snapshot(s.dir, "", skip, &after);
    for (auto* snap : {&before, &after})
        for (auto it = snap->begin(); it != snap->end();)
            it = it->first.find(".log") != std::string::npos || it->first.find(".script") !=
                 std::string::npos || it->first.find("-tree.txt") != std::string::npos
                     ? snap->erase(it)
                     : std::next(it);
    const long long changed = bytesChanged(before, after);
    std::vector<std::string> left;
    filesLeft(t_, "BK2DEMO", links_, &left);

    std::vector<std::string> boxes;
    for (const Seen& b : s.robot.boxes())
        boxes.push_back(b.text);
    std::vector<std::string> saw;
    for (const Seen& seen : s.robot.seen())
        saw.push_back(seen.kind == Seen::Box ? "box \"" + seen.text + "\""
                                             : "bar \"" + seen.title + "\"");
    if (r.checks & GameSurvives)
        saw.push_back(gameAlive_ ? "game outlived the launcher" : "game died with the launcher");
    char took[64];
    std::snprintf(took, sizeof took, "launcher gone %.2f s after the end request",
                  (s.launcherEndMs() - endRequestMs_) / 1000.0);
    if (endsSession)
        saw.push_back(took);
    const bool menuBack = s.starts("bk2demo") >= 2;
    char line[1024];
    std::snprintf(line, sizeof line, "%-44s | %-6.1f | %s | %s | %s | %lld | %s", r.name, seconds,
                  saw.empty() ? "nothing" : joined(saw).c_str(), menuBack ? "yes" : "no",
                  ended ? "yes" : "no", changed, left.empty() ? "none" : joined(left).c_str());
    report(r, line);

    std::vector<std::string> wantBoxes;
    if (*r.boxes)
        wantBoxes.push_back(r.boxes);
    EXPECT_EQ(boxes, wantBoxes);
    EXPECT_EQ(menuBack, r.menuBack);
    EXPECT_TRUE(ended);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(joined(left), r.left);
    const int n = endedStart(r.act);
    EXPECT_EQ(s.starts("brakdemo") - (n == 2 ? uncounted_ : 0), r.games);
    EXPECT_EQ(s.starts("register") - (n == 3 ? uncounted_ : 0), r.follows);
    if (n) {
        EXPECT_TRUE(s.waitFor([] { return doublesRunning() == 0; }, 15000))
            << "a program still runs (a child left suspended stays for good)";
        EXPECT_FALSE(fileExists(root + "\\BK2START.REC"));
    }
    if (r.games > 0) {
        const std::vector<RoleEvent> game = s.events("brakdemo");
        EXPECT_EQ(upper(game[0].cwd), upper(root));
        EXPECT_EQ(upper(game[0].cmdline), upper(root + "\\brakdemo.exe"));
    }
    if (r.follows > 0) {
        const RoleEvent follow = s.events("register")[0];
        EXPECT_EQ(follow.cwd, s.media);  // the launcher's own current directory
        EXPECT_EQ(follow.cmdline, "register.exe");
        EXPECT_GE(follow.ms, eventMs(s, "brakdemo", "exit"));
        if (menuBack) {
            EXPECT_GE(eventMs(s, "bk2demo", "start", s.starts("bk2demo") - 1), follow.ms);
        }
    }
    if (menuBack)
        for (const RoleEvent& e : s.events("bk2demo"))
            if (e.what == "start") {
                EXPECT_EQ(e.cwd, s.media);
            }

    if (r.checks & GameListing) {
        EXPECT_EQ(readListing(s.dir + "\\game-tree.txt"), expected_);
        for (const RoleEvent& e : s.events("brakdemo"))
            if (e.what == "ping") {
                EXPECT_LT(e.value, 20000) << "a sent broadcast hung on the launcher";
            }
    }
    if (r.checks & HelperListing) {
        EXPECT_EQ(readListing(s.dir + "\\helper-tree.txt"), expected_);
    }
    if (r.checks & AfterHelper) {
        EXPECT_GE(eventMs(s, "register", "start"), eventMs(s, "helper", "exit"));
    }
    if (r.checks & BeforeHelper) {
        EXPECT_EQ(s.events("helper").size(), 1u) << "the helper had ended";
        EXPECT_LT(eventMs(s, "register", "start") - eventMs(s, "brakdemo", "exit"), 10000);
    }
    if (r.checks & Bounded) {
        const long long after = eventMs(s, "register", "start") - eventMs(s, "brakdemo", "exit");
        EXPECT_GE(after, 60000);
        EXPECT_LT(after, 75000);
        EXPECT_EQ(eventMs(s, "helper", "exit"), -1) << "the helper still runs";
    }
    if (r.checks & GameSurvives) {
        EXPECT_TRUE(gameAlive_);
    }
    if (r.checks & EndsSoonAfterMenu) {
        EXPECT_LT(s.launcherEndMs() - eventMs(s, "bk2demo", "start", 1), 4000);
    }
    if (r.checks & NoQuit) {  // a quit would end it at the first tick after, within 3 s
        EXPECT_GE(s.launcherEndMs() - menuGoneMs_, 3000);
    }
    if (r.checks & TrapNotRun) {
        EXPECT_EQ(s.starts("my"), 0);
    }
    if (r.checks & Private) {
        EXPECT_TRUE(othersKeptOut(s, {root, root + "\\SIM"})) << "the root or SIM lets others in";
    }
    if (r.checks & AsItWas) {
        ASSERT_TRUE(rootState(s, root, "root-after.log"));
        const std::string was = readText(s.dir + "\\root-before.log");
        EXPECT_FALSE(was.empty());
        EXPECT_EQ(readText(s.dir + "\\root-after.log"), was);
    }
    if (endsSession) {
        for (const char* role : {"bk2demo", "brakdemo", "register", "helper"})
            for (const RoleEvent& e : s.events(role))
                if (e.what == "start") {
                    EXPECT_LT(e.ms, endRequestMs_) << role << " started after the end";
                }
        EXPECT_GT(s.launcherEndMs(), 0) << "the launcher outlived the end";
    }
    if (r.act == SecondInGame) {
        EXPECT_EQ(secondExit_, 0u);
    }
    if (t_ == "C:")
        removeTree("C:\\BK2DEMO");
}

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.name;
}

std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return std::string(info.param.name[0] >= '0' && info.param.name[0] <= '9' ? "n" : "") +
           info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Faults, Matrix, ::testing::ValuesIn(kRows), rowName);
}  // namespace
