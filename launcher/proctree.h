// The game and the processes it started, followed through snapshots of the
// running processes where no job can hold them (Windows 9x).
#pragma once
#include <cstddef>
#include <cstdint>

struct ProcEntry {
    uint32_t pid;
    uint32_t parent;  // the ID of the process that started it
};

// One look at the running processes: a running process started by a member
// joins, unless it ran before the game (before: its parent ID may have been
// reused by a member since); then a member that no longer runs (the same ID,
// started by the same parent) leaves. Returns the new count, at most cap.
size_t followTree(ProcEntry* members, size_t count, size_t cap, const ProcEntry* running,
                  size_t n, const uint32_t* before, size_t nBefore);
