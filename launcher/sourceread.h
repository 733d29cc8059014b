// The install's sources, read in order on a thread of their own a few blocks
// ahead of the copy: the drive never stands idle while we write and move the
// bar, and the window never waits on a slow read.
#pragma once
#include <windows.h>

// One step through the sources, in the order they were given: a source that
// would not open is one Unopened step; an opened one is its Data steps, then
// End, or Unreadable at the read that failed.
struct SourceStep {
    enum Kind { Data, End, Unopened, Unreadable } kind;
    const char* data;  // Data: len bytes, kept until the next step is asked for
    DWORD len;
};

// Starts the reads of count sources, names relative to the current directory.
// Where no thread can start, each step is read when it is asked for.
void startSourceReads(const char* const* names, int count);
// The next step once it has been read. While it waits, the thread's messages
// are dispatched as the bar's drain dispatches them; false if the reads were
// abandoned meanwhile, or the wait failed.
bool nextSourceStep(SourceStep& step);
// Stops the reads and waits for their thread (one read at most), dispatching
// messages meanwhile. Only ends them once they were abandoned.
void endSourceReads();
// Stops the reads without waiting, for good: a read on a scratched disc may
// take seconds the session's end does not have. The thread closes its own file.
void abandonSourceReads();
