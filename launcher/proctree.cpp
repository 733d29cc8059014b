// Following the game's processes from one snapshot to the next.
#include "launcher/proctree.h"

namespace {
bool runs(const ProcEntry& p, const ProcEntry* running, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (running[i].pid == p.pid && running[i].parent == p.parent)
            return true;
    return false;
}

bool listed(uint32_t pid, const ProcEntry* members, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (members[i].pid == pid)
            return true;
    return false;
}

bool among(uint32_t pid, const uint32_t* ids, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (ids[i] == pid)
            return true;
    return false;
}
}  // namespace

size_t followTree(ProcEntry* members, size_t count, size_t cap, const ProcEntry* running,
                  size_t n, const uint32_t* before, size_t nBefore)
{
    // Joining comes first, so that what a member started just before its own
    // end still joins. A grandchild may come before its parent in the list:
    // look again until nothing joins.
    for (bool joined = true; joined;) {
        joined = false;
        for (size_t i = 0; i < n && count < cap; ++i) {
            const ProcEntry& p = running[i];
            if (!listed(p.pid, members, count) && listed(p.parent, members, count) &&
                !among(p.pid, before, nBefore)) {
                members[count++] = p;
                joined = true;
            }
        }
    }
    size_t kept = 0;
    for (size_t i = 0; i < count; ++i)
        if (runs(members[i], running, n))
            members[kept++] = members[i];
    return kept;
}
