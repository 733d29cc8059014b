// The memory and string routines our code and the compiler's own code call.
// Built with -fno-builtin and without loop pattern distribution, so that gcc
// does not turn these loops back into calls to themselves.
#include <cstddef>

extern "C" {
void* memcpy(void* to, const void* from, size_t n)
{
    unsigned char* d = static_cast<unsigned char*>(to);
    const unsigned char* s = static_cast<const unsigned char*>(from);
    while (n--)
        *d++ = *s++;
    return to;
}

void* memmove(void* to, const void* from, size_t n)
{
    unsigned char* d = static_cast<unsigned char*>(to);
    const unsigned char* s = static_cast<const unsigned char*>(from);
    if (d < s) {
        while (n--)
            *d++ = *s++;
    } else {
        while (n--)
            d[n] = s[n];
    }
    return to;
}

void* memset(void* to, int c, size_t n)
{
    unsigned char* d = static_cast<unsigned char*>(to);
    while (n--)
        *d++ = static_cast<unsigned char>(c);
    return to;
}

int memcmp(const void* a, const void* b, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(a);
    const unsigned char* q = static_cast<const unsigned char*>(b);
    for (; n; --n, ++p, ++q)
        if (*p != *q)
            return *p < *q ? -1 : 1;
    return 0;
}

void* memchr(const void* s, int c, size_t n)
{
    const unsigned char* p = static_cast<const unsigned char*>(s);
    for (; n; --n, ++p)
        if (*p == static_cast<unsigned char>(c))
            return const_cast<unsigned char*>(p);
    return nullptr;
}

size_t strlen(const char* s)
{
    const char* p = s;
    while (*p)
        ++p;
    return static_cast<size_t>(p - s);
}

char* strpbrk(const char* s, const char* set)
{
    for (; *s; ++s)
        for (const char* c = set; *c; ++c)
            if (*s == *c)
                return const_cast<char*>(s);
    return nullptr;
}
}
