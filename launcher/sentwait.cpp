// The launcher's waits. Each answers the messages other programs send to our
// windows (a window that answers none is a hung one to Windows, and the
// session's end comes this way), while posted ones stay queued for later;
// and the drain, which dispatches everything.
#include "launcher/launcher.h"

void drainMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
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

namespace {
const DWORD kIdleMs = 15000;

// WaitForInputIdle answers no message, and polling it costs a handle a call
// under Wine: one call on a thread of its own, with its own copy of the handle.
DWORD WINAPI idleWaiter(void* process)
{
    WaitForInputIdle(process, kIdleMs);
    CloseHandle(process);
    return 0;
}
}  // namespace

void waitUntilIdle(HANDLE process)
{
    HANDLE own = nullptr;
    HANDLE waiter = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, 0, FALSE,
                        DUPLICATE_SAME_ACCESS) &&
        !(waiter = CreateThread(nullptr, 0, idleWaiter, own, 0, nullptr)))
        CloseHandle(own);
    if (!waiter) {
        WaitForInputIdle(process, kIdleMs);
        return;
    }
    // Ends when the program is idle, or has ended, or the 15 s have passed.
    const HANDLE ends[2] = {waiter, process};
    while (!SessionEnded &&
           MsgWaitForMultipleObjects(2, ends, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 2)
        answerSentMessages();
    // A program that has ended ends the helper's wait at once: it closes its
    // copy before we go on, so that nothing of this start outlives the call.
    if (!SessionEnded)
        WaitForSingleObject(waiter, 1000);
    CloseHandle(waiter);
}
