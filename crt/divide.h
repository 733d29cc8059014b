// The 64-bit division helpers the compiler calls on i686, declared for their test.
#pragma once
#include <cstdint>

extern "C" {
uint64_t __udivmoddi4(uint64_t n, uint64_t d, uint64_t* rem);
uint64_t __udivdi3(uint64_t n, uint64_t d);
uint64_t __umoddi3(uint64_t n, uint64_t d);
}
