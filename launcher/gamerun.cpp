// Running the game from the demo tree, then the removal and the follow-up program.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/childstart.h"

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
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = kGameJobLimits;
    *port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT notify = {job, *port};
    if (*port && SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits,
                                         sizeof limits) &&
        SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &notify,
                                sizeof notify))
        return job;
    if (*port)
        CloseHandle(*port);
    *port = nullptr;
    CloseHandle(job);
    return nullptr;
}

// The game being waited for, for the session's end: its process, and its job
// with the job's port where it has one.
HANDLE watchedGame;
HANDLE watchedJob;
HANDLE watchedPort;

// Whether the job has told the port that its last process has ended.
bool jobEmptied(HANDLE port)
{
    DWORD code;
    ULONG_PTR key;
    LPOVERLAPPED detail;
    while (GetQueuedCompletionStatus(port, &code, &key, &detail, 0))
        if (code == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
            return true;
    return false;
}

// Waits until the job's last process has ended, answering sent messages as
// waitForProgram does, but no more than kTreeMs after the game's own end: a
// tray helper the game leaves running must not keep the menu away. What such a
// straggler holds stays in the tree. The handles are closed here.
void waitForGameTree(PROCESS_INFORMATION& pi, HANDLE job, HANDLE port)
{
    if (!job) {
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
        if (jobEmptied(port))
            break;
        if (!gameEnded && WaitForSingleObject(pi.hProcess, 0) != WAIT_TIMEOUT) {
            gameEnded = true;
            endedAt = GetTickCount();
        }
        if (gameEnded && GetTickCount() - endedAt >= kTreeMs)
            break;
        MsgWaitForMultipleObjects(gameEnded ? 0 : 1, &pi.hProcess, FALSE, kIdlePollMs,
                                  QS_SENDMESSAGE);
        answerSentMessages();
    }
    watchedGame = watchedJob = watchedPort = nullptr;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(port);
    CloseHandle(job);  // no kill on close: stragglers keep running
}
}  // namespace

void awaitGameTree(DWORD ms)
{
    if (!watchedGame)
        return;
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
        if (watchedJob ? jobEmptied(watchedPort)
                       : WaitForSingleObject(watchedGame, 0) != WAIT_TIMEOUT)
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
