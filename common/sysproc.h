// Functions newer than the oldest Windows we serve (95 and NT 4.0) are never
// imported: they are found here at run time, and every caller has a way on
// without them. A link seam: the programs link sysproc.cpp; a test build
// links sysproc_none.cpp, which finds nothing, so that every fallback runs.
#pragma once
#include <windows.h>

// The export NAME of the system DLL DLL ("kernel32.dll"), or null.
FARPROC systemProc(const char* dll, const char* name);

template <class Fn> Fn systemFn(const char* dll, const char* name)
{
    FARPROC proc = systemProc(dll, name);
    Fn fn;
    static_assert(sizeof fn == sizeof proc, "function pointer sizes");
    CopyMemory(&fn, &proc, sizeof fn);
    return fn;
}
