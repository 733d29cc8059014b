// Bounded path building.
#include "launcher/pathbuf.h"

#include <cstring>

bool pathJoin(char* out, size_t cap, const char* a, const char* b, const char* c)
{
    const size_t la = std::strlen(a), lb = std::strlen(b), lc = std::strlen(c);
    if (cap == 0)
        return false;
    if (la >= cap || lb >= cap - la || lc >= cap - la - lb) {
        out[0] = '\0';
        return false;
    }
    // Copy through memmove: a caller may pass its own buffer as the first part.
    std::memmove(out, a, la);
    std::memcpy(out + la, b, lb);
    std::memcpy(out + la + lb, c, lc);
    out[la + lb + lc] = '\0';
    return true;
}
