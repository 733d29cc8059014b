// Both programs run from removable media, where a planted DLL beside them
// must never be loaded: system DLLs come from System32 only.
#pragma once
#include <windows.h>

inline void restrictDllSearch()
{
    // Looked up at run time: systems before Windows 7 with KB2533623 lack it.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC proc = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (proc) {
        SetDefaultDllDirectoriesFn set;
        static_assert(sizeof set == sizeof proc, "function pointer sizes");
        CopyMemory(&set, &proc, sizeof set);
        set(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
    }
    SetDllDirectoryA("");  // drops the current directory from the search where the above is missing
}
