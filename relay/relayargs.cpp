// The relay's reading of its command line.
#include "relay/relayargs.h"

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}

const char* commandTail(const char* p)
{
    while (isBlank(*p))
        ++p;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && !isBlank(*p))
            ++p;
    }
    while (isBlank(*p))
        ++p;
    return p;
}

int32_t atolWrap(const char* s)
{
    while (isSpace(*s))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-')
        negative = (*s++ == '-');
    uint32_t v = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        v = v * 10u + static_cast<uint32_t>(*s - '0');
    if (negative)
        v = 0u - v;
    // Two's complement read-back, defined for every value (no implementation-defined cast).
    return v <= 0x7FFFFFFFu ? static_cast<int32_t>(v)
                            : -static_cast<int32_t>(~v) - 1;
}
