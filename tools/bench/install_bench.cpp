// The install phase against the two obvious ways of copying the same files:
// a byte-at-a-time getc/putc loop and CopyFileA. Prints times and ratios, and
// checks that the bar saw exactly the values a byte-at-a-time copy gives.
// install_bench --disc DIR WAY: one copy of the files in DIR (a mounted disc)
// one way (install, bytes, copy), its seconds on stdout, for scripts/bench --disc;
// install_bench --report TIMES ROUNDS EXTRA RATE...: the table of those copies;
// install_bench --side-by-side ROUNDS COLUMN=OUTPUT...: from-cache runs side by side.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bwcc/bwcc.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "launcher/manifest.h"

namespace {
const unsigned long kTotal = 11500000;  // what the sample media carries, about

std::string media, work;
std::vector<int> barValues;

LRESULT CALLBACK recordSetPercent(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char cls[16] = "";
    if (code == HC_ACTION && m->message == WM_USER + 110) {
        GetClassNameA(m->hwnd, cls, sizeof cls);
        if (!strcmp(cls, "bordlg"))
            barValues.push_back(static_cast<int>(m->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

// Deterministic sizes adding up to kTotal: the data files take the bulk.
std::vector<unsigned long> fileSizes()
{
    std::vector<unsigned long> sizes(INSTALL_COUNT);
    unsigned long sum = 0, seed = 12345;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        seed = seed * 1103515245u + 12345u;
        const bool data = strstr(installManifest[i], ".BK2") != nullptr;
        sizes[i] = (data ? 150000 : 20000) + (seed >> 8) % (data ? 200000 : 30000);
        sum += sizes[i];
    }
    sizes[5] += kTotal - std::min(sum, kTotal);  // the first data file takes the rest
    return sizes;
}

void makeMedia(const std::vector<unsigned long>& sizes)
{
    for (const char* sub : {"", "\\DEMODATA", "\\SIM", "\\SIM\\LAUNCH"})
        CreateDirectoryA((media + sub).c_str(), nullptr);
    std::vector<char> buf;
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        buf.resize(sizes[i]);
        for (size_t k = 0; k < buf.size(); ++k)
            buf[k] = static_cast<char>((k * 131 + i * 7) >> 3);
        FILE* f = fopen((media + "\\" + installManifest[i]).c_str(), "wb");
        fwrite(buf.data(), 1, buf.size(), f);
        fclose(f);
    }
}

void freshTree()
{
    // CopyFileA gives the copies the read-only bit of files from a disc.
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        const std::string path = std::string(dir0) + "\\" + installManifest[i];
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    for (const char* d : {dir0, dir1, dir2, dir3})
        CreateDirectoryA(d, nullptr);
}

void byteLoop()
{
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        FILE* in = fopen(installManifest[i], "rb");
        FILE* out = fopen((std::string(dir0) + "\\" + installManifest[i]).c_str(), "w+b");
        int c;
        while ((c = getc(in)) != EOF)
            putc(c, out);
        fclose(in);
        fclose(out);
    }
}

// The install's own way of copying (blocks of 64 KiB through the system), without the bar.
void blockCopy()
{
    static char block[64 * 1024];
    for (int i = 0; i < INSTALL_COUNT; ++i) {
        HANDLE in = CreateFileA(installManifest[i], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        HANDLE out = CreateFileA((std::string(dir0) + "\\" + installManifest[i]).c_str(),
                                 GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_SEQUENTIAL_SCAN,
                                 nullptr);
        DWORD got, put;
        while (ReadFile(in, block, sizeof block, &got, nullptr) && got > 0)
            WriteFile(out, block, got, &put, nullptr);
        CloseHandle(in);
        CloseHandle(out);
    }
}

void copyFiles()
{
    for (int i = 0; i < INSTALL_COUNT; ++i)
        CopyFileA(installManifest[i], (std::string(dir0) + "\\" + installManifest[i]).c_str(),
                  FALSE);
}

// The values a byte-at-a-time copy gives the bar, from the counting rule alone.
std::vector<int> expectedValues(const std::vector<unsigned long>& sizes, int* numbytes)
{
    std::vector<int> out;
    double total = 0;
    for (unsigned long size : sizes)
        for (unsigned long k = 0; k < size; ++k) {
            total += 1;
            if (++*numbytes > 12000) {
                const int p = static_cast<int>(total * (1.0 / 11500000) * 100);
                out.push_back(p > 100 ? 100 : p);
                *numbytes = 0;
            }
        }
    return out;
}

template <class F> double timeIt(F f)
{
    freshTree();
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    f();
    QueryPerformanceCounter(&b);
    return seconds(a, b);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The programs of a cycle, as the process list names them.
const char* const kCyclePrograms[] = {"brakstart.exe", "brakpass.exe", "BK2DEMO.EXE",
                                      "Brakdemo.exe", "register.exe"};

// Ends every program of a cycle and waits for each; true if any ran.
bool endCycle()
{
    bool any = false;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
        for (const char* name : kCyclePrograms)
            if (_stricmp(pe.szExeFile, name) == 0)
                if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                           pe.th32ProcessID)) {
                    TerminateProcess(h, 1);
                    WaitForSingleObject(h, 5000);
                    CloseHandle(h);
                    any = true;
                }
    CloseHandle(snap);
    return any;
}

// The visible window with this title that holds a child of this ID (0: any).
HWND visibleWindow(const char* title, int child)
{
    for (HWND w = FindWindowA(nullptr, title); w; w = FindWindowExA(nullptr, w, nullptr, title))
        if (IsWindowVisible(w) && (!child || GetDlgItem(w, child)))
            return w;
    return nullptr;
}

// Polls every millisecond for that window, up to ms; null if it never came.
HWND awaitWindow(const char* title, int child, DWORD ms)
{
    const DWORD start = GetTickCount();
    HWND w = nullptr;
    while (!(w = visibleWindow(title, child)) && GetTickCount() - start < ms)
        Sleep(1);
    return w;
}

// The launcher started from the disc as autorun starts it, timed to the
// menu's window (menu), or from the press of Play on to the game's first
// window (game). The cycle is ended there and its tree removed, so that the
// drive's counts cover that stretch alone.
int discStart(bool toGame)
{
    const int kPlay = 1001;  // the sample menu's Play
    SetEnvironmentVariableA("BK2DEMO_AUTO", nullptr);  // the bench presses Play itself
    char exe[MAX_PATH], cmd[] = "brakstart.exe";
    GetFullPathNameA("brakstart.exe", sizeof exe, exe, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessA(exe, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fprintf(stderr, "install_bench: %s did not start (%lu)\n", exe, GetLastError());
        return 1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    HWND menu = awaitWindow("BK2 Demo", kPlay, 60000);
    QueryPerformanceCounter(&t1);  // the menu is there, and Play is pressed now
    HWND game = nullptr;
    if (menu && toGame) {
        PostMessageA(GetDlgItem(menu, kPlay), BM_CLICK, 0, 0);
        game = awaitWindow("BK2 Demo - sample game", 0, 120000);
    }
    QueryPerformanceCounter(&t2);
    endCycle();
    removeLeftoverTree();
    if (!menu || (toGame && !game)) {
        fprintf(stderr, "install_bench: no %s window came\n", menu ? "game" : "menu");
        return 1;
    }
    printf("%s %.3f\n", toGame ? "game" : "menu", toGame ? seconds(t1, t2) : seconds(t0, t1));
    return 0;
}

// One copy from a disc that scripts/bench has just mounted, or a start of
// the programs on it: the files are whatever the disc holds under the
// manifest's names. Prints the way and its seconds.
int discRun(const char* dir, const char* way)
{
    const bool install = strcmp(way, "install") == 0;
    void (*copy)() = nullptr;
    if (strcmp(way, "bytes") == 0)
        copy = byteLoop;
    else if (strcmp(way, "copy") == 0)
        copy = copyFiles;
    const bool start = strcmp(way, "menu") == 0 || strcmp(way, "game") == 0;
    if (!install && !copy && !start) {
        fprintf(stderr, "install_bench: no way %s (install, bytes, copy, menu, game)\n", way);
        return 2;
    }
    if (!SetCurrentDirectoryA(dir)) {
        fprintf(stderr, "install_bench: no folder %s\n", dir);
        return 2;
    }
    if (start)
        return discStart(way[0] == 'g');
    bool ok = true;
    const auto installRun = [&ok] {
        ok = installGame();
        CloseCompletionBar();
    };
    const double t = install ? timeIt(installRun) : timeIt(copy);
    printf("%s %.3f\n", way, t);
    return ok ? 0 : 1;
}
// One row of times.txt: a disc copy as scripts/bench --disc measured it.
struct DiscRound {
    std::string image, drive, way;
    double seconds;
    int seeks, jumps;
    double bytes, busy;
};

// The median round of one way on one image and drive, by time; no way if none.
DiscRound median(const std::vector<DiscRound>& all, const std::string& image,
                 const std::string& drive, const char* way)
{
    std::vector<DiscRound> v;
    for (const DiscRound& x : all)
        if (x.image == image && x.drive == drive && x.way == way)
            v.push_back(x);
    std::sort(v.begin(), v.end(),
              [](const DiscRound& a, const DiscRound& b) { return a.seconds < b.seconds; });
    return v.empty() ? DiscRound{} : v[(v.size() - 1) / 2];
}

// A drive as RATE:SEEK_MS names it, for a reader.
std::string driveName(const std::string& drive)
{
    const std::string speed = drive.substr(0, drive.find(':'));
    return speed == "20M" ? "20 MB/s" : speed == "full" ? "full" :
           speed + " " + drive.substr(drive.find(':') + 1) + "ms";
}

// The table of the disc rounds in FILE: one row an image and drive, medians,
// each against the drive's limit (the bytes at the rate plus a seek for every
// jump and the first placing). busy is the drive's own time in the install's
// median round; the rest of that round the drive stood idle. RATES are
// NAME=BYTES_PER_SECOND as brakdrive --model gives them.
int discReport(const char* file, int rounds, const char* extra, int nrates, char** rates)
{
    FILE* f = fopen(file, "r");
    if (!f) {
        fprintf(stderr, "install_bench: no file %s\n", file);
        return 2;
    }
    std::vector<DiscRound> all;
    char line[256];
    int status = 0, lineNo = 0;
    while (fgets(line, sizeof line, f)) {
        ++lineNo;
        std::vector<std::string> w;
        for (char* t = strtok(line, " \r\n"); t; t = strtok(nullptr, " \r\n"))
            w.push_back(t);
        if (w.empty())
            continue;
        // A round that cannot be read is a lost round, not one of 0 s.
        if (w.size() != 8) {
            fprintf(stderr, "install_bench: %s:%d: not a round (%zu fields)\n", file, lineNo,
                    w.size());
            status = 1;
            continue;
        }
        DiscRound r;
        r.image = w[0], r.drive = w[1], r.way = w[2];
        r.seconds = strtod(w[3].c_str(), nullptr);
        r.seeks = static_cast<int>(strtol(w[4].c_str(), nullptr, 10));
        r.jumps = static_cast<int>(strtol(w[5].c_str(), nullptr, 10));
        r.bytes = strtod(w[6].c_str(), nullptr);
        r.busy = strtod(w[7].c_str(), nullptr);
        all.push_back(r);
    }
    fclose(f);
    printf("%-8s %-10s %5s %8s | %8s %6s %5s %6s | %8s %6s | %8s %6s | %8s %6s | %6s %6s\n",
           "image", "drive", "jumps", "limit s", "install", "ratio", "seeks", "busy", "getc",
           "ratio", "CopyFile", "ratio", "native", "ratio", "/cat", "/copy");
    std::vector<std::string> done;
    for (const DiscRound& key : all) {
        const std::string row = key.image + " " + key.drive;
        if (std::find(done.begin(), done.end(), row) != done.end())
            continue;
        done.push_back(row);
        const std::string speed = key.drive.substr(0, key.drive.find(':'));
        const double seekMs = strtod(key.drive.substr(key.drive.find(':') + 1).c_str(), nullptr);
        double rate = 0;
        for (int i = 0; i < nrates; ++i)
            if (strncmp(rates[i], (speed + "=").c_str(), speed.size() + 1) == 0)
                rate = strtod(rates[i] + speed.size() + 1, nullptr);
        char ratio[4][16];
        const DiscRound m[4] = {median(all, key.image, key.drive, "install"),
                                median(all, key.image, key.drive, "bytes"),
                                median(all, key.image, key.drive, "copy"),
                                median(all, key.image, key.drive, "native")};
        // A reader from a fresh drive also seeks to the root's records first,
        // which a layout in a start's order puts before the start's files: cat's count.
        const int seeks = std::max(key.jumps + 1, m[3].seeks);
        const double limit =
            speed == "full" || rate <= 0 ? 0 : key.bytes / rate + seekMs / 1000 * seeks;
        for (int i = 0; i < 4; ++i) {
            snprintf(ratio[i], sizeof ratio[i], limit > 0 ? "%5.3fx" : "     -",
                     m[i].seconds / limit);
            if (m[i].way.empty()) {
                fprintf(stderr, "install_bench: %s: no round of %s\n", row.c_str(),
                        i == 0 ? "install" : i == 1 ? "bytes" : i == 2 ? "copy" : "native");
                status = 1;
            }
        }
        // The install against what the drive lets any reader do, and against the system's copy.
        printf("%-8s %-10s %5d %8.3f | %8.3f %6s %5d %6.3f | %8.3f %6s | %8.3f %6s | %8.3f %6s | "
               "%5.3fx %5.3fx\n",
               key.image.c_str(), driveName(key.drive).c_str(), key.jumps, limit, m[0].seconds,
               ratio[0], m[0].seeks, m[0].busy, m[1].seconds, ratio[1], m[2].seconds, ratio[2],
               m[3].seconds, ratio[3], m[0].seconds / m[3].seconds, m[0].seconds / m[2].seconds);
    }
    printf("medians of %d rounds; drive options added: %s; native: the same reads by cat, "
           "no Wine\n", rounds, extra);

    // The waits a player sees, each against its limit: the same stretch from
    // the host's cache plus the drive's own time in it (the bytes read at the
    // rate, the seeks the layout forces); with the system keeping what it has
    // read, as a player's would, and then with every read going to the drive.
    for (const char* kind : {"", "-direct"}) {
        bool header = false;
        const std::string menuWay = std::string("menu") + kind, gameWay = std::string("game") + kind;
        for (const std::string& row : done) {
            const std::string image = row.substr(0, row.find(' '));
            const std::string drive = row.substr(row.find(' ') + 1);
            const DiscRound menu = median(all, image, drive, menuWay.c_str());
            const DiscRound game = median(all, image, drive, gameWay.c_str());
            const DiscRound menuCache = median(all, image, "full:0", menuWay.c_str());
            const DiscRound gameCache = median(all, image, "full:0", gameWay.c_str());
            if (menu.way.empty() || game.way.empty() || drive == "full:0")
                continue;
            if (!header)
                printf("\n%-8s %-10s | %8s %8s %6s %5s | %8s %8s %6s %5s\n", "image", "drive",
                       "to menu", "limit", "ratio", "seeks", "to game", "limit", "ratio", "seeks");
            header = true;
            const double menuLimit = menuCache.seconds + menu.busy;
            const double gameLimit = gameCache.seconds + game.busy - menu.busy;
            printf("%-8s %-10s | %8.3f %8.3f %5.3fx %5d | %8.3f %8.3f %5.3fx %5d\n", image.c_str(),
                   driveName(drive).c_str(), menu.seconds, menuLimit, menu.seconds / menuLimit,
                   menu.seeks, game.seconds, gameLimit, game.seconds / gameLimit,
                   game.seeks - menu.seeks);
        }
        if (header)
            printf("from the start to the menu's window, and from Play to the game's; seeks of "
                   "the stretch; %s\n",
                   *kind ? "every read from the drive (direct I/O)"
                         : "the system keeping what it has read (brakdrive --cache)");
    }
    return status;
}
// The figures of the from-cache runs side by side, one column a run: each
// COLUMN=FILE names a run's output, and a row takes the first number after
// its label in each.
int sideBySide(int rounds, int ncols, char** cols)
{
    const char* const labels[] = {"install with bar",    "getc/putc loop",
                                  "CopyFileA",           "the bar alone",
                                  "install / CopyFileA", "getc/putc / install"};
    std::vector<std::string> text(ncols);
    printf("%-34s", ("median of " + std::to_string(rounds)).c_str());
    for (int c = 0; c < ncols; ++c) {
        const char* eq = strchr(cols[c], '=');
        printf(" %10.*s", eq ? static_cast<int>(eq - cols[c]) : 0, cols[c]);
        if (FILE* f = eq ? fopen(eq + 1, "r") : nullptr) {
            char line[512];
            while (fgets(line, sizeof line, f))
                text[c] += line;
            fclose(f);
        }
    }
    printf("\n");
    for (const char* label : labels) {
        printf("%-34s", label);
        for (const std::string& t : text) {
            size_t at = t.find(label);
            std::string value = "-";
            if (at != std::string::npos) {
                // The number after the label, past any note in brackets.
                at += strlen(label);
                for (int depth = 0; at < t.size() && t[at] != '\n'; ++at) {
                    depth += t[at] == '(' ? 1 : t[at] == ')' ? -1 : 0;
                    if (depth == 0 && isdigit(static_cast<unsigned char>(t[at])))
                        break;
                }
                const size_t end = t.find_first_not_of("0123456789.x", at);
                if (at < t.size() && t[at] != '\n')
                    value = t.substr(at, end - at);
            }
            printf(" %10s", value.c_str());
        }
        printf("\n");
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "--side-by-side") == 0)
        return sideBySide(static_cast<int>(strtol(argv[2], nullptr, 10)), argc - 3, argv + 3);
    if (argc >= 4 && strcmp(argv[1], "--report") == 0)
        return discReport(argv[2], static_cast<int>(strtol(argv[3], nullptr, 10)),
                          argc > 4 ? argv[4] : "none",
                          argc > 5 ? argc - 5 : 0, argv + 5);
    const bool disc = argc == 4 && strcmp(argv[1], "--disc") == 0;
    // 0 rounds is the bar's check alone; anything else that is not a round
    // count is refused (the medians need a round at least).
    char* end = nullptr;
    const long asked = argc > 1 ? strtol(argv[1], &end, 10) : 5;
    if (!disc && argc > 1 && (end == argv[1] || *end != '\0' || asked < 0 || asked > 1000)) {
        fprintf(stderr, "usage: install_bench [rounds: 0 (the check alone) to 1000]\n"
                        "       install_bench --disc DIR install|bytes|copy|menu|game\n"
                        "       install_bench --report TIMES ROUNDS EXTRA [NAME=RATE...]\n"
                        "       install_bench --side-by-side ROUNDS [COLUMN=OUTPUT...]\n");
        return 2;
    }
    const int rounds = static_cast<int>(asked);
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    work = std::string(cwd) + "\\bench-work";
    media = work + "\\media";
    CreateDirectoryA(work.c_str(), nullptr);
    pathJoin(dir0, PATH_BUF, work.c_str(), "\\tree\\BK2DEMO");
    pathJoin(dir1, PATH_BUF, dir0, "\\DEMODATA");
    pathJoin(dir2, PATH_BUF, dir0, "\\SIM");
    pathJoin(dir3, PATH_BUF, dir0, "\\SIM\\LAUNCH");
    CreateDirectoryA((work + "\\tree").c_str(), nullptr);
    hInst = GetModuleHandleA(nullptr);
    BWCCRegister(hInst);
    BrakDemoHWND = Current_hwnd = CreateWindowExA(0, "STATIC", "BrakDemo", WS_OVERLAPPEDWINDOW,
                                                  CW_USEDEFAULT, 0, 100, 100, nullptr, nullptr,
                                                  hInst, nullptr);
    if (disc)
        return discRun(argv[2], argv[3]);

    const std::vector<unsigned long> sizes = fileSizes();
    makeMedia(sizes);
    SetCurrentDirectoryA(media.c_str());
    // One round under a message hook checks the bar's values; the timed rounds
    // run without it, since a hook makes every message it sees cost more.
    int numbytesModel = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, recordSetPercent, nullptr, GetCurrentThreadId());
    freshTree();
    installGame();
    CloseCompletionBar();
    UnhookWindowsHookEx(hook);
    const bool sameValues = barValues == expectedValues(sizes, &numbytesModel);
    const auto sayValues = [&] {
        printf("bar values identical to the byte-at-a-time model: %s (%zu updates)\n",
               sameValues ? "yes" : "NO", barValues.size());
    };
    if (rounds < 1) {  // the check alone
        sayValues();
        return sameValues ? 0 : 1;
    }

    std::vector<double> install, bytes, copy;
    for (int r = 0; r < rounds; ++r) {
        install.push_back(timeIt([] { installGame(); CloseCompletionBar(); }));
        bytes.push_back(timeIt(byteLoop));
        copy.push_back(timeIt(copyFiles));
    }

    // Where the install's time goes: the bar alone, opened, moved as often as
    // the install moves it, closed.
    std::vector<double> barOnly, blocks;
    for (int r = 0; r < rounds; ++r)
        blocks.push_back(timeIt(blockCopy));
    const std::vector<int> values = barValues;
    for (int r = 0; r < rounds; ++r)
        barOnly.push_back(timeIt([&] {
            OpenCompletionBar("Please wait...Installing BK2 Demo!");
            for (int v : values)
                SetCompletionBar(v);
            CloseCompletionBar();
        }));

    const double ti = median(install), tb = median(bytes), tc = median(copy);
    printf("files: %d, bytes: %lu, rounds: %d (medians)\n", INSTALL_COUNT, kTotal, rounds);
    printf("install with bar   %8.3f s\n", ti);
    printf("getc/putc loop     %8.3f s\n", tb);
    printf("CopyFileA          %8.3f s\n", tc);
    printf("  of the install: the copy alone (64 KiB blocks)         %8.3f s\n", median(blocks));
    printf("  of the install: the bar alone (open, %zu sets, close) %8.3f s\n", values.size(),
           median(barOnly));
    printf("install / CopyFileA      %6.2fx  (goal <= 2.0)\n", ti / tc);
    printf("getc/putc / install      %6.2fx  (goal >= 10)\n", tb / ti);
    sayValues();
    return sameValues ? 0 : 1;
}
