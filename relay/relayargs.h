// The relay's reading of its command line: pure, no <windows.h>.
#pragma once
#include <cstdint>

// What the C runtime's start-up hands WinMain as the argument: leading blanks
// and tabs, the program name (quoted up to its closing quote, else up to the
// first blank or tab) and the blanks and tabs after it are skipped; quotes
// around the argument stay.
const char* commandTail(const char* cmdline);

// atol with 32-bit wraparound: white space, one sign, decimal digits up to the
// first other character; no digits gives 0. No overflow check, no undefined
// behaviour: the value is accumulated unsigned and read back as two's complement.
int32_t atolWrap(const char* s);
