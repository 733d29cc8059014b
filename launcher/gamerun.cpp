// Running the game from the demo tree, then the removal and the follow-up program.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"

namespace {
const DWORD kIdleMs = 15000;
const DWORD kIdlePollMs = 50;

// Answers messages other programs send to our windows, and nothing else:
// posted ones (timer ticks, control messages) stay queued for later.
void answerSentMessages()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Waits for a started program to be ready for input (15 s at most), then for
// its end, answering sent messages all along: a program that broadcasts with
// SendMessage must not hang on our hidden window. The handles are closed here.
void waitForProgram(PROCESS_INFORMATION& pi)
{
    const DWORD start = GetTickCount();
    while (WaitForInputIdle(pi.hProcess, 0) == WAIT_TIMEOUT) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= kIdleMs)
            break;
        const DWORD slice = kIdleMs - spent < kIdlePollMs ? kIdleMs - spent : kIdlePollMs;
        if (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, slice, QS_SENDMESSAGE) ==
            WAIT_OBJECT_0)
            break;  // ended before it was idle
        answerSentMessages();
    }
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1)
            break;  // ended (or the handle is unusable: never spin on it)
        answerSentMessages();
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// A start-up record zero-filled with its size set.
STARTUPINFOA startupRecord()
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    return si;
}
}  // namespace

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
    STARTUPINFOA gameStart = startupRecord();
    PROCESS_INFORMATION game = {};
    const bool started = named && CreateProcessA(appName, cmdline, nullptr, nullptr, FALSE, 0,
                                                 nullptr, dir0, &gameStart, &game);
    if (saved)
        SetCurrentDirectoryA(CurDir);
    CloseCompletionBar();

    if (!started) {
        warn("Could not start BK2 Demo!");
        killbrak();
        return;
    }
    waitForProgram(game);
    killbrak();

    // Found by the usual search, in the launcher's (the media's) directory.
    char follow[] = "register.exe";
    STARTUPINFOA followStart = startupRecord();
    PROCESS_INFORMATION followUp = {};
    if (CreateProcessA(nullptr, follow, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &followStart, &followUp))
        waitForProgram(followUp);
}
