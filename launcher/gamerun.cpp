// Running the game from the demo tree, then the removal and the follow-up program.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/childstart.h"
#include "launcher/laterapi.h"
#include "launcher/proctree.h"

namespace {
const DWORD kIdlePollMs = 50;
const DWORD kTreeMs = 60000;  // the game's tree, after the game itself has ended
const DWORD kGameJobLimits = JOB_OBJECT_LIMIT_BREAKAWAY_OK;

// Waits for a started program to be ready for input (15 s at most), then for
// its end, answering sent messages all along: a program that broadcasts with
// SendMessage must not hang on our hidden window. The handles are closed here.
void waitForProgram(PROCESS_INFORMATION& pi)
{
    waitUntilIdle(pi.hProcess);
    while (!SessionEnded) {
        const DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            break;  // ended (or the handle is unusable: never spin on it)
        answerSentMessages();
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// The game in a job of its own, so that the wait covers every process it
// starts. The job never kills (a launcher that dies leaves the game running)
// and lets a process that asks to leave it go. Null where no job can be made;
// before Windows 8 a launcher that itself runs in a job cannot nest one.
HANDLE gameJob(HANDLE* port)
{
    *port = nullptr;
    HANDLE job = createJob();
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = kGameJobLimits;
    *port = createPort();
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT notify = {job, *port};
    if (*port && setJobInformation(job, JobObjectExtendedLimitInformation, &limits,
                                   sizeof limits) &&
        setJobInformation(job, JobObjectAssociateCompletionPortInformation, &notify,
                          sizeof notify))
        return job;
    if (*port)
        CloseHandle(*port);
    *port = nullptr;
    CloseHandle(job);
    return nullptr;
}

// The game being waited for, for the session's end: its process, and its job
// with the job's port where it has one, else its processes as the snapshots
// show them where it is followed so.
HANDLE watchedGame;
HANDLE watchedJob;
HANDLE watchedPort;
bool followed;

// Where there is no job (Windows 9x), the game's processes are followed
// through snapshots: those that ran before it started never count, whatever
// their parent's ID. Where there are no snapshots either (NT 4.0), the wait
// is for the game's own process.
const size_t kSeenCap = 1024;
const size_t kTreeCap = 64;
ProcEntry treeMembers[kTreeCap];
size_t treeCount;
uint32_t runningBefore[kSeenCap];
size_t beforeCount;

// The running processes, at most cap of them; false where no snapshot is had.
bool runningProcesses(ProcEntry* out, size_t cap, size_t* n)
{
    *n = 0;
    HANDLE snap = snapshot(TH32CS_SNAPPROCESS);
    if (snap == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL more = firstProcess(snap, &pe); more && *n < cap; more = nextProcess(snap, &pe))
        out[(*n)++] = {pe.th32ProcessID, pe.th32ParentProcessID};
    CloseHandle(snap);
    return *n > 0;  // this process at least runs
}

bool noteRunningBefore()
{
    static ProcEntry running[kSeenCap];
    if (!runningProcesses(running, kSeenCap, &beforeCount))
        return false;
    for (size_t i = 0; i < beforeCount; ++i)
        runningBefore[i] = running[i].pid;
    return true;
}

// Whether the game and all it started have ended; blind (no snapshot), the
// game alone. While the game runs, a look every kLookMs catches what it starts.
bool treeGone(bool gameEnded)
{
    const DWORD kLookMs = 500;
    static DWORD lastLook;
    if (!gameEnded && GetTickCount() - lastLook < kLookMs)
        return false;
    lastLook = GetTickCount();
    static ProcEntry running[kSeenCap];
    size_t n;
    if (!runningProcesses(running, kSeenCap, &n))
        return gameEnded;
    treeCount = followTree(treeMembers, treeCount, kTreeCap, running, n, runningBefore,
                           beforeCount);
    return treeCount == 0;
}

// Whether the job has told the port that its last process has ended.
bool jobEmptied(HANDLE port)
{
    DWORD code;
    ULONG_PTR key;
    LPOVERLAPPED detail;
    while (portNotice(port, &code, &key, &detail, 0))
        if (code == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
            return true;
    return false;
}

bool allEnded(bool gameEnded)
{
    if (watchedJob)
        return jobEmptied(watchedPort);
    return followed ? treeGone(gameEnded) : gameEnded;
}

// Waits until the job's last process, or the last one followed, has ended,
// answering sent messages as waitForProgram does, but no more than kTreeMs
// after the game's own end: a tray helper the game leaves running must not
// keep the menu away. What such a straggler holds stays in the tree. The
// handles are closed here.
void waitForGameTree(PROCESS_INFORMATION& pi, HANDLE job, HANDLE port)
{
    if (!job && !followed) {
        watchedGame = pi.hProcess;
        waitForProgram(pi);
        watchedGame = nullptr;
        return;
    }
    // The idle wait would end no sooner than this one: the end is what counts.
    bool gameEnded = false;
    DWORD endedAt = 0;
    watchedGame = pi.hProcess;
    watchedJob = job;
    watchedPort = port;
    while (!SessionEnded) {
        if (!gameEnded && WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT) {
            gameEnded = true;
            endedAt = GetTickCount();
        }
        if (allEnded(gameEnded))
            break;
        if (gameEnded && GetTickCount() - endedAt >= kTreeMs)
            break;
        MsgWaitForMultipleObjects(gameEnded ? 0 : 1, &pi.hProcess, FALSE, kIdlePollMs,
                                  QS_SENDMESSAGE);
        answerSentMessages();
    }
    watchedGame = watchedJob = watchedPort = nullptr;
    followed = false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (job) {
        CloseHandle(port);
        CloseHandle(job);  // no kill on close: stragglers keep running
    }
}
}  // namespace

void awaitGameTree(DWORD ms)
{
    if (!watchedGame)
        return;
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
        if (allEnded(WaitForSingleObject(watchedGame, 0) != WAIT_TIMEOUT))
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdlePollMs, QS_SENDMESSAGE);
        answerSentMessages();
    }
}

void playGame()
{
    char cmdline[PATH_BUF];
    char appName[PATH_BUF];
    const bool named = pathJoin(cmdline, sizeof cmdline, dir0, "\\", "brakdemo.exe") &&
                       pathJoin(appName, sizeof appName, cmdline, "");

    char CurDir[PATH_BUF];
    const DWORD curLen = GetCurrentDirectoryA(sizeof CurDir, CurDir);
    const bool saved = curLen > 0 && curLen < sizeof CurDir;

    // The program is named outright: a bare command line with blanks in the
    // path ("C:\Documents and Settings\...") would first try "C:\Documents.exe".
    // In its job from the start, so that nothing it starts escapes the wait.
    HANDLE port;
    HANDLE job = gameJob(&port);
    const bool canFollow = !job && noteRunningBefore();
    PROCESS_INFORMATION game = {};
    const ChildStart how =
        named ? startChild(appName, cmdline, dir0, job, kGameJobLimits, &game) : CHILD_FAILED;
    const bool started = how != CHILD_FAILED;
    if (started && job && how != CHILD_IN_JOB) {
        // No nesting: the wait falls back to the game's own process.
        CloseHandle(port);
        CloseHandle(job);
        job = nullptr;
    }
    followed = started && canFollow;
    if (followed) {
        treeMembers[0] = {game.dwProcessId, GetCurrentProcessId()};
        treeCount = 1;
    }
    if (saved)
        SetCurrentDirectoryA(CurDir);
    CloseCompletionBar();

    if (!started) {
        if (job) {
            CloseHandle(port);
            CloseHandle(job);
        }
        warn("Could not start BK2 Demo!");
        killbrak();
        return;
    }
    waitForGameTree(game, job, port);
    killbrak();

    // Found by the usual search, in the launcher's (the media's) directory. It
    // runs from the media, so nothing of ours lies under it: its own end will do.
    char follow[] = "register.exe";
    PROCESS_INFORMATION followUp = {};
    if (!sessionEnding() &&
        startChild(nullptr, follow, nullptr, nullptr, 0, &followUp) != CHILD_FAILED)
        waitForProgram(followUp);
}
