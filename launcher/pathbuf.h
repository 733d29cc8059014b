// Bounded path building into the launcher's fixed path buffers.
#pragma once
#include <cstddef>

enum { PATH_BUF = 200 };  // every path buffer of the launcher, terminator included

// out = a + b + c. A result that does not fit in cap characters (terminator
// included) leaves out empty and returns false: never truncated, never overrun.
bool pathJoin(char* out, size_t cap, const char* a, const char* b, const char* c = "");
