// Decisions of the play preparation over plain values: the two requirement
// checks, the choice of the temporary directory and the room it must leave.
#pragma once
#include <cstddef>
#include <cstdint>

#include "launcher/ansipath.h"

const uint64_t MIN_TOTAL_MEMORY = 11500000;  // bytes installed, though the warning says 12 MB
const uint64_t MIN_FREE_BYTES = 15000000;    // on drive C:
const uint32_t ATTR_NONE = 0xFFFFFFFFu;      // what a failed attribute query reports
// The attribute bits the choice of a directory looks at, as winnt.h numbers them.
const uint32_t ATTR_READONLY = 0x1;
const uint32_t ATTR_HIDDEN = 0x2;
const uint32_t ATTR_SYSTEM = 0x4;
const uint32_t ATTR_DIRECTORY = 0x10;
const uint32_t ATTR_REPARSE_POINT = 0x400;  // a link or a mount point
const uint32_t ATTR_OFFLINE = 0x1000;
const uint32_t ATTR_RECALL_ON_OPEN = 0x40000;         // a cloud placeholder
const uint32_t ATTR_RECALL_ON_DATA_ACCESS = 0x400000;  // ... fetched on first read

// The demo tree below T, in creation order: dir0 .. dir3.
enum { DEMO_DIRS = 4 };
extern const char* const demoDirSuffix[DEMO_DIRS];
// The tree directory each one lies in (-1: the root, directly under T).
extern const int demoDirParent[DEMO_DIRS];

bool memoryQualifies(uint64_t totalPhysical);
// Computed in 64 bits: three 32-bit factors easily pass 4 GB.
uint64_t freeBytes(uint32_t freeClusters, uint32_t bytesPerSector, uint32_t sectorsPerCluster);
bool diskQualifies(uint64_t freebytes);
// A directory we may build in and remove from: not read-only, hidden, system,
// a link, offline or a placeholder that must first be recalled. Any other bit
// (archive, compressed, encrypted, not indexed ...) is harmless on NT.
bool usableDirectory(uint32_t attributes);

// Removes the last character if it is a backslash, in place: "C:\" becomes
// "C:". A double-byte character whose second byte is 0x5C stays whole.
void dropTrailingBackslash(char* t, const LeadBytes& lb);

// Whether a candidate T leaves room in a path buffer for every path the play
// cycle builds from it (the deepest being dir0 + "\" + the longest install
// entry), once its trailing backslash is gone.
bool tempLeavesRoom(const char* value, const LeadBytes& lb);

// One of "TMP", "TEMP" as read from the environment.
struct TempCandidate {
    bool present;         // the variable is set
    bool fits;            // its value fit the read buffer whole
    const char* value;    // as read; looked at only when present and fitting
    uint32_t attributes;  // of the path the value names; ATTR_NONE if the query failed
};

// Whether the candidate may serve as T: set, not empty, fitting, leaving room,
// and naming a usable directory.
bool tempUsable(const TempCandidate& c, const LeadBytes& lb);

// The first usable candidate's value, else "C:\" untested. The trailing
// backslash is still on: dropTrailingBackslash comes after.
const char* chooseTemp(const TempCandidate* candidates, size_t count, const LeadBytes& lb);
