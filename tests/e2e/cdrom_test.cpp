// A whole play cycle from a CD-ROM drive, started the way autorun starts it:
// the launcher from the disc's root with the root as working directory, the
// sample programs in automatic mode. cdrom.sh mounts the image and names the
// drive in BRAK_CDROM and a writable folder in BRAK_CDROM_WORK; it also
// checks, from outside, that nothing was written to the disc. Then the same
// cycle on a bad disc, a row of a table each: cdrom.sh mounts the drive with
// the row's fault and names the row in BRAK_CDROM_ROW. The rows of Windows
// versions are the first cycle again, with the prefix set to report an older
// Windows (BRAK_CDROM_VERSION: what GetVersionExA must then say) or with the
// launcher whose run-time lookups find nothing (BRAK_CDROM_LAUNCHER).
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/winegen.h"

namespace {
const DWORD kCycleLimitMs = 120000;

// What the cycle saw of the launcher's hidden window, for the icon's test.
bool LauncherWindowSeen;
ULONG_PTR LauncherClassIcon;

HWND launcherWindow(DWORD pid)
{
    for (int i = 0; i < 200; ++i) {
        for (HWND w = FindWindowA("BrakDemo", nullptr); w;
             w = FindWindowExA(nullptr, w, "BrakDemo", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid)
                return w;
        }
        Sleep(25);
    }
    return nullptr;
}

bool underWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::string env(const char* name)
{
    char value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n && n < sizeof value ? value : "";
}

std::string readText(const std::string& path)
{
    std::string text;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return text;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n)
        text.append(buf, n);
    CloseHandle(f);
    return text;
}

// The lines of the report that begin with prefix, without it.
std::vector<std::string> reportLines(const std::string& report, const std::string& prefix)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < report.size()) {
        size_t end = report.find('\n', pos);
        if (end == std::string::npos)
            end = report.size();
        const std::string line = report.substr(pos, end - pos);
        if (line.compare(0, prefix.size(), prefix) == 0)
            out.push_back(line.substr(prefix.size()));
        pos = end + 1;
    }
    return out;
}

// What is left in the temporary folder but the sample menu's count of its
// automatic plays (BK2DEMO.AUT), gone only when the menu quits.
std::vector<std::string> leftIn(const std::string& tmp)
{
    std::vector<std::string> left;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((tmp + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return left;
    do
        if (strcmp(fd.cFileName, ".") != 0 && strcmp(fd.cFileName, "..") != 0 &&
            _stricmp(fd.cFileName, "BK2DEMO.AUT") != 0)
            left.push_back(fd.cFileName);
    while (FindNextFileA(find, &fd));
    FindClose(find);
    return left;
}

// The test's own environment with the given names replaced.
std::vector<char> environmentWith(const std::vector<std::string>& settings)
{
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (const char* s = strings; *s; s += strlen(s) + 1) {
        bool replaced = false;
        for (const std::string& set : settings)
            replaced = replaced || _strnicmp(s, set.c_str(), set.find('=') + 1) == 0;
        if (!replaced)
            block.insert(block.end(), s, s + strlen(s) + 1);
    }
    FreeEnvironmentStringsA(strings);
    for (const std::string& set : settings)
        block.insert(block.end(), set.c_str(), set.c_str() + set.size() + 1);
    block.push_back('\0');
    return block;
}
}  // namespace

TEST(CdRom, PlayCycleFromTheDiscRoot)
{
    const std::string drive = env("BRAK_CDROM"), work = env("BRAK_CDROM_WORK");
    if (drive.empty() || work.empty())
        GTEST_SKIP() << "no CD-ROM drive given: cdrom.sh mounts the image and runs this";
    const std::string root = drive + "\\";
    ASSERT_EQ(GetDriveTypeA(root.c_str()), static_cast<UINT>(DRIVE_CDROM)) << root;
    const std::string version = env("BRAK_CDROM_VERSION");
    if (!version.empty()) {
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        ASSERT_TRUE(GetVersionExA(&v));
        const std::string reported = std::to_string(v.dwPlatformId) + "." +
                                     std::to_string(v.dwMajorVersion) + "." +
                                     std::to_string(v.dwMinorVersion);
        printf("cdrom: Windows reports platform %s\n", reported.c_str());
        ASSERT_EQ(reported, version) << "the prefix's Windows version did not take";
    }

    // autorun.inf's icon=brakstart.exe,0 needs an icon in the launcher.
    EXPECT_GE(ExtractIconExA((root + "brakstart.exe").c_str(), -1, nullptr, nullptr, 0), 1u);

    const std::string tmp = work + "\\tmp", report = work + "\\report.txt";
    ASSERT_TRUE(CreateDirectoryA(tmp.c_str(), nullptr)) << tmp;
    std::vector<char> block = environmentWith(
        {"TMP=" + tmp, "TEMP=" + tmp, "BK2DEMO_AUTO=1", "BK2DEMO_REPORT=" + report});

    // As autorun does: the program named in open=, the root as working directory.
    const std::string launcher =
        env("BRAK_CDROM_LAUNCHER").empty() ? "brakstart.exe" : env("BRAK_CDROM_LAUNCHER");
    const std::string exe = root + launcher;
    std::vector<char> cmd(launcher.begin(), launcher.end());
    cmd.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const DWORD t0 = GetTickCount();
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, block.data(),
                               root.c_str(), &si, &pi))
        << GetLastError();
    const HWND window = launcherWindow(pi.dwProcessId);
    LauncherWindowSeen = window != nullptr;
    LauncherClassIcon = window ? GetClassLongPtrA(window, GCLP_HICON) : 0;
    const DWORD waited = WaitForSingleObject(pi.hProcess, kCycleLimitMs);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    printf("cdrom: the launcher ran %.1f s from %s\n", (GetTickCount() - t0) / 1000.0,
           exe.c_str());
    ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the launcher did not end";
    EXPECT_EQ(code, 0u);

    const std::string text = readText(report);
    printf("%s", text.c_str());
    const std::vector<std::string> menu = reportLines(text, "menu: ");
    EXPECT_EQ(menu, (std::vector<std::string>{"Play", "Quit"})) << "the menu came back once";

    const std::vector<std::string> game = reportLines(text, "game: ");
    ASSERT_EQ(game.size(), 1u) << text;
    EXPECT_EQ(game[0].rfind("72 of 72 files verified; in ", 0), 0u) << game[0];
    const std::string tree = tmp + "\\BK2DEMO";
    EXPECT_NE(game[0].find("; in " + tree + ";"), std::string::npos) << game[0];
    EXPECT_EQ(GetFileAttributesA(tree.c_str()), INVALID_FILE_ATTRIBUTES) << "tree left: " << tree;
    EXPECT_EQ(leftIn(tmp), std::vector<std::string>()) << "left in the temporary folder";

    // The follow-up came from the disc and ran with the launcher's directory.
    EXPECT_EQ(reportLines(text, "register: "), (std::vector<std::string>{"ran in " + root}));
}

// The hidden window's class shows the launcher's own icon, not the system's.
TEST(CdRom, LauncherWindowClassHasItsOwnIcon)
{
    if (!LauncherWindowSeen)
        GTEST_SKIP() << "the play cycle above did not run or showed no launcher window";
    if (LauncherClassIcon == 0 && underWine())
        GTEST_SKIP() << "gap of " << wineName()
                     << ": GetClassLongPtrA(GCLP_HICON) on another process's window "
                        "gives 0 (documented to give the class icon)";
    EXPECT_NE(LauncherClassIcon, 0u);
    EXPECT_NE(LauncherClassIcon, reinterpret_cast<ULONG_PTR>(LoadIconA(nullptr, IDI_APPLICATION)));
}

namespace {
// A bad disc: the drive's fault (brakdrive's options; "game": the runner
// ejects the disc once the game has reported) and what the player must see.
struct FaultRow {
    const char* name;
    const char* drive;
    const char* ejectWhen;
    std::vector<std::string> boxes;  // the warnings, in order, each answered with OK
    std::vector<std::string> menu;   // the menu's choices: it came back once for each
    bool played;                     // the game ran on every file whole
    bool followUp;                   // register.exe ran
    bool watchHang;                  // the bar must answer WM_NULL within kAliveMs throughout
};

const char kCopyError[] = "ERROR: Could not copy the BK2 Demo files.";
const char kNoStart[] = "Could not start BK2 Demo!";

const FaultRow kFaultRows[] = {
    {"scratch", "--scratch DEMODATA/BK05.BK2", "", {kCopyError}, {"Play", "Quit"}, false, false,
     false},
    {"slow", "--slow DEMODATA/BK05.BK2@131072+2048,8s", "", {}, {"Play", "Quit"}, true, true,
     true},
    // 6,000,000 bytes: past the programs' start, half-way through the install.
    {"eject-install", "--eject-after 6000000", "", {kCopyError, kNoStart}, {"Play"}, false, false,
     false},
    {"eject-game", "", "game", {kNoStart}, {"Play"}, true, false, false},
};

struct Box {
    std::string text;
    double seconds;  // after the launcher's start
};

BOOL CALLBACK findBoxes(HWND hwnd, LPARAM lParam)
{
    char cls[64] = "", title[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (IsWindowVisible(hwnd) && !strcmp(cls, "#32770") && !strcmp(title, "Brakkon 2"))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// The player: reads each warning and presses OK.
void answerBoxes(const std::atomic<bool>& stop, DWORD t0, std::vector<Box>* boxes,
                 std::mutex* lock)
{
    while (!stop) {
        std::vector<HWND> found;
        EnumWindows(findBoxes, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found) {
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            {
                std::lock_guard<std::mutex> g(*lock);
                boxes->push_back({text, (GetTickCount() - t0) / 1000.0});
            }
            PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            for (int i = 0; i < 300 && IsWindow(box) && IsWindowVisible(box); ++i)
                Sleep(10);
        }
        Sleep(50);
    }
}

// Windows calls a window hung after 5 s; a bar stuck behind the slow read would
// miss any budget below its 8 s, and a loaded 2-core host delayed a live one
// by up to 312 ms.
const UINT kAliveMs = 1000;

struct HangWatch {
    int calls = 0, timeouts = 0;
    DWORD longestMs = 0;
    double barSeconds = 0;  // how long the bar was there
};

// Another program asking the bar whether it is alive, as the system does
// before it calls a window not responding.
void watchBar(const std::atomic<bool>& stop, DWORD pid, HangWatch* watch)
{
    DWORD firstSeen = 0, lastSeen = 0;
    while (!stop) {
        HWND bar = nullptr;
        for (HWND w = FindWindowA("bordlg", nullptr); w && !bar;
             w = FindWindowExA(nullptr, w, "bordlg", nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            bar = owner == pid && IsWindowVisible(w) ? w : nullptr;
        }
        if (bar) {
            const DWORD t = GetTickCount();
            firstSeen = firstSeen ? firstSeen : t;
            DWORD_PTR result;
            const bool answered =
                SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAliveMs, &result) != 0;
            const DWORD took = GetTickCount() - t;
            // A window that closed meanwhile is no hang.
            if (!answered && IsWindow(bar))
                ++watch->timeouts;
            ++watch->calls;
            watch->longestMs = took > watch->longestMs ? took : watch->longestMs;
            lastSeen = GetTickCount();
        }
        Sleep(100);
    }
    watch->barSeconds = firstSeen ? (lastSeen - firstSeen) / 1000.0 : 0;
}
}  // namespace

// The rows for cdrom.sh: "name|drive options|when to eject", one a line.
TEST(CdRomFault, List)
{
    const std::string work = env("BRAK_CDROM_WORK");
    if (env("BRAK_CDROM_ROW") != "list" || work.empty())
        GTEST_SKIP() << "cdrom.sh asks for the rows";
    std::string text;
    for (const FaultRow& row : kFaultRows)
        text += std::string(row.name) + "|" + row.drive + "|" + row.ejectWhen + "\n";
    HANDLE f = CreateFileA((work + "\\rows.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    EXPECT_TRUE(WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr));
    CloseHandle(f);
}

TEST(CdRomFault, Row)
{
    const std::string drive = env("BRAK_CDROM"), work = env("BRAK_CDROM_WORK");
    const std::string name = env("BRAK_CDROM_ROW");
    const FaultRow* row = nullptr;
    for (const FaultRow& r : kFaultRows)
        row = name == r.name ? &r : row;
    if (drive.empty() || work.empty() || !row)
        GTEST_SKIP() << "no row given: cdrom.sh mounts the faulty drive and names the row";
    const std::string root = drive + "\\", dir = work + "\\" + name;
    const std::string tmp = dir + "\\tmp", report = dir + "\\report.txt";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir;
    ASSERT_TRUE(CreateDirectoryA(tmp.c_str(), nullptr)) << tmp;
    std::vector<char> block = environmentWith(
        {"TMP=" + tmp, "TEMP=" + tmp, "BK2DEMO_AUTO=1", "BK2DEMO_REPORT=" + report});

    const std::string exe = root + "brakstart.exe";
    char cmd[] = "brakstart.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const DWORD t0 = GetTickCount();
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd, nullptr, nullptr, FALSE, 0, block.data(),
                               root.c_str(), &si, &pi))
        << GetLastError();
    std::atomic<bool> stop(false);
    std::vector<Box> boxes;
    std::mutex lock;
    HangWatch watch;
    std::thread player(answerBoxes, std::cref(stop), t0, &boxes, &lock);
    std::thread watcher;
    if (row->watchHang)
        watcher = std::thread(watchBar, std::cref(stop), pi.dwProcessId, &watch);
    const DWORD waited = WaitForSingleObject(pi.hProcess, kCycleLimitMs);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    const double ran = (GetTickCount() - t0) / 1000.0;
    stop = true;
    player.join();
    if (watcher.joinable())
        watcher.join();
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    // What the player saw, for the record.
    printf("cdrom: row %s (%s%s): the launcher ran %.1f s\n", row->name, row->drive,
           *row->ejectWhen ? "eject by a signal once the game has reported" : "", ran);
    std::vector<std::string> texts;
    for (const Box& b : boxes) {
        printf("cdrom: row %s: at %.1f s the player saw \"%s\"\n", row->name, b.seconds,
               b.text.c_str());
        texts.push_back(b.text);
    }
    if (row->watchHang)
        printf("cdrom: row %s: WM_NULL to the bar %d times over %.1f s, %d timed out, the "
               "longest %lu ms\n",
               row->name, watch.calls, watch.barSeconds, watch.timeouts,
               static_cast<unsigned long>(watch.longestMs));
    const std::string text = readText(report);
    printf("%s", text.c_str());
    // The error a program gets from the bad disc, for the record.
    if (row->boxes.size() && row->boxes[0] != kNoStart) {
        const std::string probe = root + "DEMODATA\\BK05.BK2";
        HANDLE f = CreateFileA(probe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        DWORD openError = f == INVALID_HANDLE_VALUE ? GetLastError() : 0, readError = 0;
        static char buf[65536];
        DWORD n = 0;
        if (f != INVALID_HANDLE_VALUE) {
            readError = ReadFile(f, buf, sizeof buf, &n, nullptr) ? 0 : GetLastError();
            CloseHandle(f);
        }
        printf("cdrom: row %s: %s afterwards: open error %lu, read error %lu\n", row->name,
               probe.c_str(), static_cast<unsigned long>(openError),
               static_cast<unsigned long>(readError));
    }

    ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the launcher did not end: a hang";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(texts, row->boxes);
    EXPECT_EQ(reportLines(text, "menu: "), row->menu);
    const std::vector<std::string> game = reportLines(text, "game: ");
    if (row->played) {
        ASSERT_EQ(game.size(), 1u) << text;
        EXPECT_EQ(game[0].rfind("72 of 72 files verified; in ", 0), 0u) << game[0];
    } else {
        EXPECT_TRUE(game.empty()) << text;
    }
    EXPECT_EQ(reportLines(text, "register: ").size(), row->followUp ? 1u : 0u) << text;
    // Nothing left: no tree, nothing at all in the temporary folder.
    const std::string tree = tmp + "\\BK2DEMO";
    EXPECT_EQ(GetFileAttributesA(tree.c_str()), INVALID_FILE_ATTRIBUTES) << "tree left: " << tree;
    const std::vector<std::string> left = leftIn(tmp);
    EXPECT_TRUE(left.empty()) << "left in the temporary folder: " << left.size() << ", "
                              << (left.empty() ? "" : left[0]);
    if (row->watchHang) {
        EXPECT_GT(watch.calls, 0) << "the bar was never seen";
        EXPECT_EQ(watch.timeouts, 0) << "the bar hung: the longest WM_NULL took "
                                     << watch.longestMs << " ms";
    }
}
