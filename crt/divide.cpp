// The 64-bit division the compiler calls on i686, where the processor divides
// 64 bits by 32 at most.
#include "crt/divide.h"

extern "C" {
uint64_t __udivmoddi4(uint64_t n, uint64_t d, uint64_t* rem)
{
    uint64_t q = 0, r = 0;
    if (((n | d) >> 32) == 0) {
        // Both within 32 bits, the common case: one division instruction.
        q = static_cast<uint32_t>(n) / static_cast<uint32_t>(d);
        r = static_cast<uint32_t>(n) % static_cast<uint32_t>(d);
    } else {
        // Long division, a bit at a time (no caller divides by zero).
        for (int i = 63; i >= 0; --i) {
            r = (r << 1) | ((n >> i) & 1);
            if (r >= d) {
                r -= d;
                q |= uint64_t{1} << i;
            }
        }
    }
    if (rem)
        *rem = r;
    return q;
}

uint64_t __udivdi3(uint64_t n, uint64_t d)
{
    return __udivmoddi4(n, d, nullptr);
}

uint64_t __umoddi3(uint64_t n, uint64_t d)
{
    uint64_t r;
    __udivmoddi4(n, d, &r);
    return r;
}
}
