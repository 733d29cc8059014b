// Paths in the ANSI code page, a character at a time.
#include "launcher/ansipath.h"

const LeadBytes NO_LEAD_BYTES = {};

namespace {
// The length of the character at s[i], within n bytes.
size_t charLength(const char* s, size_t i, size_t n, const LeadBytes& lb)
{
    return lb.lead[static_cast<unsigned char>(s[i])] && i + 1 < n && s[i + 1] != '\0' ? 2 : 1;
}

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

size_t lastCharStart(const char* s, size_t n, const LeadBytes& lb)
{
    // Only a walk from the start tells a trail byte from a lead byte.
    size_t start = n;
    for (size_t i = 0; i < n; i += charLength(s, i, n, lb))
        start = i;
    return start;
}

bool endsInBackslash(const char* s, size_t n, const LeadBytes& lb)
{
    const size_t k = lastCharStart(s, n, lb);
    return k + 1 == n && s[k] == '\\';
}

const char* lastBackslash(const char* s, const LeadBytes& lb)
{
    const char* found = nullptr;
    for (size_t i = 0; s[i] != '\0'; i += charLength(s, i, static_cast<size_t>(-1), lb))
        if (s[i] == '\\')
            found = s + i;
    return found;
}

bool sameTextNoCase(const char* a, const char* b, size_t n, const LeadBytes& lb)
{
    for (size_t i = 0; i < n;) {
        const size_t len = charLength(a, i, n, lb);
        if (len == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
        i += len;
    }
    return true;
}
