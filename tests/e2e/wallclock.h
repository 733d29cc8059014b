// Wall-clock milliseconds: comparable across the test and the programs it starts.
#pragma once
#include <windows.h>

inline long long nowMs()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<long long>(u.QuadPart / 10000);
}
