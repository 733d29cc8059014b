// The record a launcher keeps in the demo root while a child it created has
// not yet run, where the system cannot create the child in a job: what
// identifies that child, and what a later launcher does about it.
#pragma once
#include <cstddef>
#include <cstdint>

struct StartRecord {
    uint32_t pid;
    uint32_t tid;      // its first thread
    uint64_t created;  // its creation time, in the system's 100 ns units
};

const char START_RECORD_NAME[] = "BK2START.REC";
enum { START_RECORD_MAX = 48 };  // the longest record's text, with room to spare

// The record as one line; its length, or 0 if cap cannot hold it.
size_t formatStartRecord(const StartRecord& r, char* out, size_t cap);
// Exactly one whole record; false for anything else (one a kill cut short).
bool parseStartRecord(const char* text, size_t len, StartRecord* r);

// Whether a later launcher ends the recorded child. running: a process with
// the recorded ID still runs; created: its creation time; threadOwned: the
// recorded thread is that process's; suspendCount: the thread's count before
// the launcher asked (negative if it could not). Only the same process whose
// first thread was never let go is ended: a reused ID, or a child that ran,
// is left alone.
bool neverRanChild(const StartRecord& r, bool running, uint64_t created, bool threadOwned,
                   long suspendCount);
