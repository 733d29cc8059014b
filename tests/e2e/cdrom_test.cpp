// A whole play cycle from a CD-ROM drive, started the way autorun starts it:
// the launcher from the disc's root with the root as working directory, the
// sample programs in automatic mode. cdrom.sh mounts the image and names the
// drive in BRAK_CDROM and a writable folder in BRAK_CDROM_WORK; it also
// checks, from outside, that nothing was written to the disc.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
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

    // autorun.inf's icon=brakstart.exe,0 needs an icon in the launcher.
    EXPECT_GE(ExtractIconExA((root + "brakstart.exe").c_str(), -1, nullptr, nullptr, 0), 1u);

    const std::string tmp = work + "\\tmp", report = work + "\\report.txt";
    ASSERT_TRUE(CreateDirectoryA(tmp.c_str(), nullptr)) << tmp;
    std::vector<char> block = environmentWith(
        {"TMP=" + tmp, "TEMP=" + tmp, "BK2DEMO_AUTO=1", "BK2DEMO_REPORT=" + report});

    // As autorun does: the program named in open=, the root as working directory.
    const std::string exe = root + "brakstart.exe";
    char cmd[] = "brakstart.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const DWORD t0 = GetTickCount();
    ASSERT_TRUE(CreateProcessA(exe.c_str(), cmd, nullptr, nullptr, FALSE, 0, block.data(),
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
