// The launcher's waits. Each answers the messages other programs send to our
// windows (a window that answers none is a hung one to Windows, and the
// session's end comes this way), while posted ones stay queued for later.
#include "launcher/launcher.h"

namespace {
const DWORD kPollMs = 50;
}

void answerSentMessages()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void pauseAnsweringSent(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms && !SessionEnded; spent = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - spent, QS_SENDMESSAGE);
        answerSentMessages();
    }
}

void waitUntilIdle(HANDLE process, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!SessionEnded && WaitForInputIdle(process, 0) == WAIT_TIMEOUT) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            break;
        const DWORD slice = ms - spent < kPollMs ? ms - spent : kPollMs;
        if (MsgWaitForMultipleObjects(1, &process, FALSE, slice, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            break;  // ended before it was idle
        answerSentMessages();
    }
}
