// The lookup seam of the build that acts as the oldest Windows: nothing newer
// is found, so every fallback runs whole.
#include "common/sysproc.h"

FARPROC systemProc(const char*, const char*)
{
    return nullptr;
}
