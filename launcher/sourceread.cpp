// The install's sources read ahead on a thread of their own, handed to the
// copy through a ring of blocks.
#include "launcher/sourceread.h"

#include "launcher/launcher.h"

namespace {
// A few blocks ahead: enough to ride out the copy's pauses (a file made in the
// tree, a repaint) without the drive ever waiting for a free block. Large
// reads, since every call is time the drive stands idle (64 KiB reads
// took 2 % longer at 52x).
const int kSlots = 4;
const DWORD kBlock = 256 * 1024;

char ring[kSlots][kBlock];
SourceStep steps[kSlots];

// Where the reads are; touched only by whoever produces the steps.
const char* const* sourceNames;
int sourceCount;
int nextSource;
HANDLE openSource = INVALID_HANDLE_VALUE;
// What is left of the open source by its size, so that its end costs no read
// of its own; a source of no size (unknown, or a device) is read until a read
// gives nothing or fails.
LONGLONG sourceLeft;
bool sizeKnown;

// The ring's counts, shared by the two threads. Each side waits on its event
// only after saying so, and the other side sets that event only then, so that
// a block passes without a call into the system while neither side waits
// (with a semaphore call a block, a copy from the host's cache took 30 % longer).
volatile LONG readyCount;    // steps read and not yet taken
volatile LONG freeCount;     // blocks the reader may fill
volatile LONG copyWaits;     // the copy waits on readyEvent
volatile LONG readerWaits;   // the reader waits on freeEvent
volatile LONG stopping;
HANDLE readyEvent;           // auto-reset
HANDLE freeEvent;            // auto-reset
HANDLE stopReads;            // manual-reset: ends the reader's wait
HANDLE readerThread;
int taken;           // the slot of the copy's last step
bool holding;        // the copy has that slot's block in hand
bool readsInline;    // no thread: each step read when asked for
bool abandoned;

// A count as the other thread last left it.
LONG current(volatile LONG* count)
{
    return InterlockedCompareExchange(count, 0, 0);
}

void closeSource()
{
    CloseHandle(openSource);
    openSource = INVALID_HANDLE_VALUE;
    ++nextSource;
}

// Reads the next step into slot; false once every source has been read.
bool produce(int slot)
{
    if (nextSource >= sourceCount)
        return false;
    SourceStep& s = steps[slot];
    s.data = ring[slot];
    s.len = 0;
    if (openSource == INVALID_HANDLE_VALUE) {
        openSource = CreateFileA(sourceNames[nextSource], GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (openSource == INVALID_HANDLE_VALUE) {
            s.kind = SourceStep::Unopened;
            ++nextSource;
            return true;
        }
        LARGE_INTEGER size;
        sizeKnown = GetFileSizeEx(openSource, &size) && size.QuadPart > 0;
        sourceLeft = sizeKnown ? size.QuadPart : 0;
    }
    if (sizeKnown && sourceLeft == 0) {
        s.kind = SourceStep::End;
        closeSource();
        return true;
    }
    const DWORD want = sizeKnown && sourceLeft < kBlock ? static_cast<DWORD>(sourceLeft) : kBlock;
    if (!ReadFile(openSource, ring[slot], want, &s.len, nullptr)) {
        s.kind = SourceStep::Unreadable;
        closeSource();
    } else if (s.len == 0) {
        s.kind = SourceStep::End;
        closeSource();
    } else {
        s.kind = SourceStep::Data;
        sourceLeft -= s.len;
    }
    return true;
}

// Waits until a block is free; false once the reads are stopped.
bool awaitFreeBlock()
{
    const HANDLE waits[2] = {stopReads, freeEvent};
    while (!current(&stopping) && current(&freeCount) == 0) {
        InterlockedExchange(&readerWaits, 1);
        if (current(&freeCount) == 0 &&
            WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return false;
    }
    return !current(&stopping);
}

DWORD WINAPI reader(void*)
{
    for (int slot = 0; awaitFreeBlock(); slot = (slot + 1) % kSlots) {
        InterlockedDecrement(&freeCount);
        if (!produce(slot))
            break;
        InterlockedIncrement(&readyCount);
        if (InterlockedExchange(&copyWaits, 0))
            SetEvent(readyEvent);
    }
    if (openSource != INVALID_HANDLE_VALUE)
        CloseHandle(openSource);
    return 0;
}

void closeAll()
{
    HANDLE* const all[] = {&readyEvent, &freeEvent, &stopReads, &readerThread};
    for (HANDLE* h : all) {
        if (*h)
            CloseHandle(*h);
        *h = nullptr;
    }
}

// Waits for one of n handles, dispatching the thread's messages meanwhile:
// its index, or -1 if the wait failed or one of the messages abandoned the reads.
int waitDispatching(DWORD n, const HANDLE* h)
{
    for (;;) {
        const DWORD w = MsgWaitForMultipleObjectsEx(n, h, INFINITE, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
        if (w < WAIT_OBJECT_0 + n)
            return static_cast<int>(w - WAIT_OBJECT_0);
        if (w != WAIT_OBJECT_0 + n)
            return -1;
        drainMessages();
        if (abandoned)
            return -1;
    }
}

// Waits until a step is ready; false if the reader has ended with none, or
// the wait was given up.
bool awaitReadyStep()
{
    const HANDLE waits[2] = {readyEvent, readerThread};
    while (current(&readyCount) == 0) {
        InterlockedExchange(&copyWaits, 1);
        if (current(&readyCount) != 0)
            break;
        const int w = waitDispatching(2, waits);
        if (w < 0 || (w == 1 && current(&readyCount) == 0))
            return false;
    }
    return true;
}
}  // namespace

void startSourceReads(const char* const* names, int count)
{
    sourceNames = names;
    sourceCount = count;
    nextSource = 0;
    openSource = INVALID_HANDLE_VALUE;
    taken = -1;
    holding = false;
    readyCount = copyWaits = readerWaits = stopping = 0;
    freeCount = kSlots;
    readyEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    freeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    stopReads = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (readyEvent && freeEvent && stopReads)
        readerThread = CreateThread(nullptr, 0, reader, nullptr, 0, nullptr);
    readsInline = !readerThread;
    if (readsInline)
        closeAll();
}

bool nextSourceStep(SourceStep& step)
{
    if (abandoned)
        return false;
    taken = (taken + 1) % kSlots;
    if (readsInline) {
        if (!produce(taken))
            return false;
    } else {
        if (holding) {  // the block last handed out goes back to the reader
            InterlockedIncrement(&freeCount);
            if (InterlockedExchange(&readerWaits, 0))
                SetEvent(freeEvent);
        }
        holding = false;
        if (!awaitReadyStep())
            return false;
        InterlockedDecrement(&readyCount);
        holding = true;
    }
    step = steps[taken];
    return true;
}

void endSourceReads()
{
    if (readsInline) {
        if (openSource != INVALID_HANDLE_VALUE)
            CloseHandle(openSource);
        openSource = INVALID_HANDLE_VALUE;
        return;
    }
    if (!readerThread)
        return;
    InterlockedExchange(&stopping, 1);
    SetEvent(stopReads);
    // Abandoned, the thread may still be in a read: its handles stay open
    // for it, and the process ends soon after.
    if (!abandoned && waitDispatching(1, &readerThread) == 0)
        closeAll();
}

void abandonSourceReads()
{
    abandoned = true;
    InterlockedExchange(&stopping, 1);
    if (stopReads)
        SetEvent(stopReads);
}
