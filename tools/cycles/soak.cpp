// The soak (scripts/soak): many play cycles of the sample media in one
// launcher's life, with what the launcher holds after each, written as CSV.
// Usage: soak MEDIA CSV [CYCLES]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/common/testfs.h"
#include "tools/cycles/procstats.h"
#include "tools/cycles/sampleplay.h"
#include "tests/e2e/snapshot.h"

namespace {
// A short game and follow-up: the cycle is mostly the launcher's own work.
const int kCloseMs = 300;
// The menu presses its button 1 s after it opens; the launcher is idle from
// soon after the menu's start until then.
const DWORD kSettleMs = 400;
const DWORD kCycleMs = 120000;

// Waits until the menu starts again (the first time: until it runs); false
// if the launcher ended or nothing came within the bound.
bool waitMenuStart(Scenario& s, bool first)
{
    const char* const menu[] = {"BK2DEMO.EXE"};
    const DWORD t0 = GetTickCount();
    bool gone = first || running(menu, 1).empty();
    while (GetTickCount() - t0 < kCycleMs && !s.waitLauncher(0)) {
        const bool up = !running(menu, 1).empty();
        if (gone && up)
            return true;
        gone = gone || !up;
        Sleep(20);
    }
    return false;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: soak MEDIA CSV [CYCLES]\n");
        return 2;
    }
    const std::string media = argv[1];
    const int cycles = argc > 3 ? atoi(argv[3]) : 200;
    FILE* csv = fopen(argv[2], "w");
    if (!csv) {
        fprintf(stderr, "soak: cannot write %s\n", argv[2]);
        return 2;
    }

    Scenario s("soak");
    playSample(s, cycles, kCloseMs);
    if (!s.startLauncher(media, media)) {
        fprintf(stderr, "soak: brakstart.exe does not start from %s\n", media.c_str());
        return 2;
    }
    const DWORD pid = s.launcherPid();
    const std::string unixPid = unixPidOf("brakstart.exe", s.dir);
    printf("soak: %d cycles; launcher pid %lu, Unix pid %s\n", cycles,
           static_cast<unsigned long>(pid), unixPid.empty() ? "unknown" : unixPid.c_str());
    const char header[] = "cycle,seconds,handles,windows,rss_kb,files_left_in_t";
    fprintf(csv, "%s\n", header);
    printf("%s\n", header);

    // Row 0 is the launcher before its first play.
    long long last = nowMs();
    int done = 0;
    for (int cycle = 0; cycle <= cycles; ++cycle) {
        if (!waitMenuStart(s, cycle == 0))
            break;
        const long long now = nowMs();
        Sleep(kSettleMs);
        std::vector<std::string> left;
        filesLeft(s.tmp, "BK2DEMO", {}, &left);
        const long files = static_cast<long>(left.size()) + dirExists(s.tmp + "\\BK2DEMO");
        char row[160];
        snprintf(row, sizeof row, "%d,%.2f,%ld,%ld,%ld,%ld", cycle,
                 cycle ? (now - last) / 1000.0 : 0.0, handleCount(pid), windowCount(pid), unixPid.empty() ? -1L : residentKb(unixPid), files);
        fprintf(csv, "%s\n", row);
        fflush(csv);
        printf("%s\n", row);
        fflush(stdout);
        last = now;
        done = cycle;
        if (cycle == 10 || cycle == cycles)  // what any growth is made of
            printf("soak: the launcher's handles at cycle %d: %s\n", cycle,
                   handleKinds(pid).c_str());
    }
    fclose(csv);

    const bool ended = s.waitLauncher(30000) && s.launcherExitCode() == 0;
    const std::vector<std::string> games = reportLines(s, "game: ");
    size_t verified = 0;
    for (const std::string& g : games)
        verified += g.find("72 of 72 files verified") != std::string::npos;
    printf("soak: %d of %d cycles, %zu games verified 72 of 72 files, launcher %s\n", done,
           cycles, verified, ended ? "ended" : "did NOT end");
    return done == cycles && verified == static_cast<size_t>(cycles) && ended ? 0 : 1;
}
