// The start record's text and the decision over a recorded child.
#include "launcher/startrecord.h"

namespace {
// Appends v in decimal; false if it does not fit.
bool putNumber(uint64_t v, char* out, size_t cap, size_t* at)
{
    char digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    if (*at + n > cap)
        return false;
    while (n)
        out[(*at)++] = digits[--n];
    return true;
}

bool putChar(char c, char* out, size_t cap, size_t* at)
{
    if (*at >= cap)
        return false;
    out[(*at)++] = c;
    return true;
}

// Reads a decimal number up to max; false if there is none, or it is larger.
bool getNumber(const char* text, size_t len, size_t* at, uint64_t max, uint64_t* v)
{
    const size_t from = *at;
    *v = 0;
    while (*at < len && text[*at] >= '0' && text[*at] <= '9') {
        const unsigned d = static_cast<unsigned>(text[*at] - '0');
        if (*v > (max - d) / 10)
            return false;
        *v = *v * 10 + d;
        ++*at;
    }
    return *at > from && *at - from <= 20;
}
}  // namespace

size_t formatStartRecord(const StartRecord& r, char* out, size_t cap)
{
    size_t at = 0;
    const bool fits = putNumber(r.pid, out, cap, &at) && putChar(' ', out, cap, &at) &&
                      putNumber(r.tid, out, cap, &at) && putChar(' ', out, cap, &at) &&
                      putNumber(r.created, out, cap, &at) && putChar('\r', out, cap, &at) &&
                      putChar('\n', out, cap, &at);
    return fits ? at : 0;
}

bool parseStartRecord(const char* text, size_t len, StartRecord* r)
{
    size_t at = 0;
    uint64_t pid, tid, created;
    const bool whole = getNumber(text, len, &at, 0xFFFFFFFFu, &pid) && at < len &&
                       text[at++] == ' ' && getNumber(text, len, &at, 0xFFFFFFFFu, &tid) &&
                       at < len && text[at++] == ' ' &&
                       getNumber(text, len, &at, UINT64_MAX, &created) && len - at == 2 &&
                       text[at] == '\r' && text[at + 1] == '\n';
    if (!whole)
        return false;
    r->pid = static_cast<uint32_t>(pid);
    r->tid = static_cast<uint32_t>(tid);
    r->created = created;
    return true;
}

bool neverRanChild(const StartRecord& r, bool running, uint64_t created, bool threadOwned,
                   long suspendCount)
{
    return running && created == r.created && threadOwned && suspendCount > 0;
}
