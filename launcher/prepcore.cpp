// Decisions of the play preparation over plain values.
#include "launcher/prepcore.h"

#include <cstring>

#include "launcher/manifest.h"
#include "launcher/pathbuf.h"

const char* const demoDirSuffix[DEMO_DIRS] = {
    "\\BK2DEMO",
    "\\BK2DEMO\\DEMODATA",
    "\\BK2DEMO\\SIM",
    "\\BK2DEMO\\SIM\\LAUNCH",
};

const int demoDirParent[DEMO_DIRS] = {-1, 0, 0, 2};

bool memoryQualifies(uint64_t totalPhysical)
{
    return totalPhysical >= MIN_TOTAL_MEMORY;
}

uint64_t freeBytes(uint32_t freeClusters, uint32_t bytesPerSector, uint32_t sectorsPerCluster)
{
    return uint64_t{freeClusters} * bytesPerSector * sectorsPerCluster;
}

bool diskQualifies(uint64_t freebytes)
{
    return freebytes >= MIN_FREE_BYTES;
}

bool usableDirectory(uint32_t attributes)
{
    const uint32_t refused = ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_REPARSE_POINT |
                             ATTR_OFFLINE | ATTR_RECALL_ON_OPEN | ATTR_RECALL_ON_DATA_ACCESS;
    return attributes != ATTR_NONE && (attributes & ATTR_DIRECTORY) != 0 &&
           (attributes & refused) == 0;
}

void dropTrailingBackslash(char* t, const LeadBytes& lb)
{
    const size_t n = std::strlen(t);
    if (endsInBackslash(t, n, lb))
        t[n - 1] = '\0';
}

bool tempLeavesRoom(const char* value, const LeadBytes& lb)
{
    size_t t = std::strlen(value);
    if (endsInBackslash(value, t, lb))
        --t;
    // dir0 + "\" + entry; the directory suffixes alone are shorter, but take
    // the larger anyway so that neither can outgrow the buffer unnoticed.
    size_t deepest = std::strlen(demoDirSuffix[0]) + 1 + longestInstallEntry();
    for (const char* s : demoDirSuffix)
        if (std::strlen(s) > deepest)
            deepest = std::strlen(s);
    return deepest < PATH_BUF && t < PATH_BUF - deepest;  // leaves room for the terminator
}

bool tempUsable(const TempCandidate& c, const LeadBytes& lb)
{
    return c.present && c.fits && c.value[0] != '\0' && tempLeavesRoom(c.value, lb) &&
           usableDirectory(c.attributes);
}

const char* chooseTemp(const TempCandidate* candidates, size_t count, const LeadBytes& lb)
{
    for (size_t i = 0; i < count; ++i)
        if (tempUsable(candidates[i], lb))
            return candidates[i].value;
    return "C:\\";
}
