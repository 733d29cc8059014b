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

HANDLE freeSlots;    // semaphore: blocks the copy has given back
HANDLE readySlots;   // semaphore: steps read and not yet taken
HANDLE stopReads;    // manual-reset event
HANDLE readerThread;
int taken;           // the slot of the copy's last step
bool holding;        // the copy has that slot's block in hand
bool readsInline;    // no thread: each step read when asked for
bool abandoned;

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

DWORD WINAPI reader(void*)
{
    const HANDLE waits[2] = {stopReads, freeSlots};  // a stop before a free block
    for (int slot = 0; WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
         slot = (slot + 1) % kSlots) {
        if (!produce(slot))
            break;
        ReleaseSemaphore(readySlots, 1, nullptr);
    }
    if (openSource != INVALID_HANDLE_VALUE)
        CloseHandle(openSource);
    return 0;
}

void closeAll()
{
    HANDLE* const all[] = {&freeSlots, &readySlots, &stopReads, &readerThread};
    for (HANDLE* h : all) {
        if (*h)
            CloseHandle(*h);
        *h = nullptr;
    }
}

// Waits for the first of n handles, dispatching the thread's messages
// meanwhile; false if another handle came first, the wait failed, or the
// reads were abandoned by one of the messages.
bool waitDispatching(DWORD n, const HANDLE* h)
{
    for (;;) {
        const DWORD w = MsgWaitForMultipleObjectsEx(n, h, INFINITE, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
        if (w == WAIT_OBJECT_0)
            return true;
        if (w != WAIT_OBJECT_0 + n)
            return false;
        drainMessages();
        if (abandoned)
            return false;
    }
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
    freeSlots = CreateSemaphoreA(nullptr, kSlots, kSlots, nullptr);
    readySlots = CreateSemaphoreA(nullptr, 0, kSlots, nullptr);
    stopReads = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (freeSlots && readySlots && stopReads)
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
        if (holding)
            ReleaseSemaphore(freeSlots, 1, nullptr);
        holding = false;
        // A thread that has ended with nothing ready has read every source.
        const HANDLE waits[2] = {readySlots, readerThread};
        if (!waitDispatching(2, waits))
            return false;
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
    SetEvent(stopReads);
    // Abandoned, the thread may still be in a read: its handles stay open
    // for it, and the process ends soon after.
    if (!abandoned && waitDispatching(1, &readerThread))
        closeAll();
}

void abandonSourceReads()
{
    abandoned = true;
    if (stopReads)
        SetEvent(stopReads);
}
