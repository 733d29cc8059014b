// The kill campaign (scripts/killrun): rounds of a play cycle on the sample
// media with the launcher ended hard at a random moment from Play to the
// menu's return, then a whole cycle by a new launcher, each round checked for
// what a killed launcher must not leave behind.
// Usage: killrun MEDIA [ROUNDS [SEED]]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/common/testfs.h"
#include "tools/cycles/procstats.h"
#include "tools/cycles/sampleplay.h"
#include "tests/e2e/snapshot.h"

namespace {
// A cycle's stretches in order, as seen from outside: each begins with the
// first sign of it (Play in the report, the tree in T, the game's process,
// the game's end, register.exe's process, a new menu).
enum Phase { Idle, Checks, Copy, Game, Removal, FollowUp, MenuBack, kPhases };
const char* const kPhaseNames[kPhases] = {"before play", "checks", "copy", "game",
                                          "removal", "follow-up", "menu back"};
const DWORD kCycleMs = 120000;

// What has been seen of one launcher's cycle so far.
struct Cycle {
    Scenario* s;
    size_t plays;      // Play lines in the report before this cycle
    bool gameSeen;
    bool followSeen;
    bool menuGone;     // the menu that pressed Play has ended
};

Phase look(Cycle& c)
{
    const std::vector<std::string> now = running(kOurPrograms, 5);
    const bool gameRuns = runs(now, "Brakdemo.exe");
    const bool menuRuns = runs(now, "BK2DEMO.EXE");
    if (reportLines(*c.s, "menu: Play").size() <= c.plays)
        return Idle;
    c.gameSeen = c.gameSeen || gameRuns;
    c.followSeen = c.followSeen || runs(now, "register.exe");
    c.menuGone = c.menuGone || !menuRuns;
    if (c.menuGone && menuRuns)
        return MenuBack;
    if (c.followSeen)
        return FollowUp;
    if (c.gameSeen)
        return gameRuns ? Game : Removal;
    return dirExists(c.s->tmp + "\\BK2DEMO") ? Copy : Checks;
}

// Watches the cycle, noting when each phase was first seen, until stop says
// so for the phase and time now, or the cycle has taken too long.
template <class Stop> Phase watch(Cycle& c, long long seen[kPhases], Stop stop)
{
    const long long t0 = nowMs();
    for (;;) {
        const Phase p = look(c);
        const long long t = nowMs();
        for (int i = Checks; i <= p; ++i)
            if (seen[i] < 0)
                seen[i] = t;
        if (stop(p, t) || t - t0 > kCycleMs)
            return p;
        Sleep(5);
    }
}

// The folders the player owns, bar the demo tree and the sample programs'
// own files (report, the menu's automatic-mode marker).
std::map<std::string, std::string> playerFiles(const Scenario& s, const std::string& media)
{
    std::map<std::string, std::string> out, m;
    snapshot(s.dir, "", {upper(s.tmp + "\\BK2DEMO")}, &out);
    out.erase("report.txt");
    out.erase("restart.txt");
    out.erase("tmp\\BK2DEMO.AUT");
    snapshot(media, "", {}, &m);
    for (const auto& kv : m)
        out["<media>\\" + kv.first] = kv.second;
    return out;
}

struct Outcome {
    std::string line;  // what the checks found, for the round's line
    bool pass;
};

// Lets the launcher finish its cycle and the sample programs close by
// themselves, then checks what is left. report: where the launcher's
// programs reported.
Outcome finish(Scenario& s, const std::string& media, const char* report,
               const std::map<std::string, std::string>& before)
{
    Outcome o;
    const bool ended = s.waitLauncher(kCycleMs);
    waitNoneRunning(kOurPrograms, 5, 15000);
    const std::vector<std::string> games = reportLines(s, "game: ", report);
    std::string cycle;  // the cycle as its game reported it
    if (!ended)
        cycle = "the launcher did not end";
    else if (games.size() != 1)
        cycle = std::to_string(games.size()) + " games";
    else  // the count and the game's problems, if any, up to where it ran
        cycle = games.back().substr(6, games.back().find("; in ") - 6);
    std::vector<std::string> left;
    filesLeft(s.tmp, "BK2DEMO", {}, &left);
    if (left.empty() && dirExists(s.tmp + "\\BK2DEMO"))
        left.push_back("BK2DEMO\\");
    const long long changed = bytesChanged(before, playerFiles(s, media));
    std::vector<std::string> still = running(kOurPrograms, 5);
    o.pass = cycle == "72 of 72 files verified" && left.empty() && changed == 0 && still.empty();
    for (std::string& p : still) {  // how far it got: a Unix process, a window
        const std::string name = p.substr(0, p.find(' '));
        const std::string unixPid = unixPidOf(name, s.dir);
        p += " (Unix pid " + (unixPid.empty() ? std::string("none") : unixPid) + ", " +
             std::to_string(windowCount(strtoul(p.c_str() + name.size() + 1, nullptr, 10))) +
             " windows)";
    }
    o.line = cycle + " | left in T " + (left.empty() ? "none" : joined(left)) +
             " | bytes changed " + std::to_string(changed) + " | still running " +
             (still.empty() ? "none" : joined(still));
    if (!still.empty())
        o.line += " | the killed launcher's programs reported: " +
                  joined(reportLines(s, "", "report.txt"));
    endOurs();
    return o;
}

std::string boxesSeen(Scenario& s)
{
    std::vector<std::string> texts;
    for (const Seen& b : s.robot.boxes())
        texts.push_back("\"" + b.text + "\"");
    return texts.empty() ? "" : " | boxes " + joined(texts);
}

struct Round {
    Phase at;              // the phase seen last before the kill
    long long seen[kPhases];
    Outcome o;
    std::string boxes;
};

// One round in fresh folders: a cycle watched until stop says so, then the
// launcher killed there and started again (unless the cycle is left alone),
// and the checks once everything has ended.
template <class Stop> Round playRound(const std::string& media, bool kill, Stop stop)
{
    Round r;
    Scenario s("killrun");
    playSample(s, 1, 2000);
    const auto before = playerFiles(s, media);
    Cycle c = {&s, 0, false, false, false};
    std::fill(r.seen, r.seen + kPhases, -1);
    if (!s.startLauncher(media, media)) {
        fprintf(stderr, "killrun: brakstart.exe does not start from %s\n", media.c_str());
        exit(2);
    }
    r.at = watch(c, r.seen, stop);
    if (kill) {
        r.at = look(c);  // the last look before the kill
        s.killLauncher();
        // A menu still up would press Quit for the new launcher; the killed
        // launcher's game and follow-up may run on.
        const char* const menu[] = {"BK2DEMO.EXE", "brakpass.exe"};
        waitNoneRunning(menu, 2, 10000);
        DeleteFileA((s.tmp + "\\BK2DEMO.AUT").c_str());
        // The killed launcher's game may report yet: the new one's programs
        // report elsewhere.
        playSample(s, 1, 2000, "restart.txt");
        s.startLauncher(media, media);
    }
    r.o = finish(s, media, kill ? "restart.txt" : "report.txt", before);
    r.boxes = boxesSeen(s);
    return r;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: killrun MEDIA [ROUNDS [SEED]]\n");
        return 2;
    }
    const std::string media = argv[1];
    const int rounds = argc > 2 ? atoi(argv[2]) : 100;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(strtoul(argv[3], nullptr, 10)) : 19;
    std::mt19937 rng(seed);

    // The phases' usual lengths, from one cycle left alone; it is checked
    // like every round.
    long long usual[kPhases] = {};
    const Round cal = playRound(media, false, [](Phase p, long long) { return p == MenuBack; });
    printf("calibration | reached %s |", kPhaseNames[cal.at]);
    for (int i = Checks; i < MenuBack; ++i) {
        usual[i] = cal.seen[i] >= 0 && cal.seen[i + 1] >= 0 ? cal.seen[i + 1] - cal.seen[i] : 0;
        printf(" %s %.2f s", kPhaseNames[i], usual[i] / 1000.0);
    }
    printf(" | %s | %s%s\n", cal.o.line.c_str(), cal.o.pass ? "pass" : "FAIL", cal.boxes.c_str());
    fflush(stdout);
    if (!cal.o.pass || cal.at != MenuBack)
        return 1;

    int aimed[kPhases] = {}, hit[kPhases] = {}, passed[kPhases] = {};
    int passes = 0;
    for (int round = 1; round <= rounds; ++round) {
        // Every aimed phase in turn; the moment within it is random.
        const Phase aim = static_cast<Phase>(Checks + (round - 1) % (MenuBack - Checks));
        const double fraction = static_cast<double>(rng() % 1000) / 1000.0;
        const long long t0 = nowMs();
        long long due = -1;
        const Round r = playRound(media, true, [&](Phase p, long long t) {
            if (due < 0 && p >= aim)
                due = t + (p == aim ? static_cast<long long>(fraction * usual[aim]) : 0);
            return due >= 0 && t >= due;
        });
        ++aimed[aim];
        ++hit[r.at];
        passed[r.at] += r.o.pass;
        passes += r.o.pass;
        printf("round %3d | aimed %-9s +%4.0f%% | hit %-11s | %s | %5.1f s | %s%s\n", round,
               kPhaseNames[aim], fraction * 100, kPhaseNames[r.at], r.o.line.c_str(),
               (nowMs() - t0) / 1000.0, r.o.pass ? "pass" : "FAIL", r.boxes.c_str());
        fflush(stdout);
    }

    printf("\nphase        aimed  hit  passed\n");
    for (int i = Idle; i < kPhases; ++i)
        if (aimed[i] || hit[i])
            printf("%-12s %5d %4d %7d\n", kPhaseNames[i], aimed[i], hit[i], passed[i]);
    printf("%d rounds, %d passed (seed %u)\n", rounds, passes, seed);
    return passes == rounds ? 0 : 1;
}
