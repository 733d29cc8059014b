// Both programs run from removable media, where a planted DLL beside them
// must never be loaded: system DLLs come from System32 only.
#pragma once
#include "common/sysproc.h"

inline void restrictDllSearch()
{
    // Systems before Windows 7 with KB2533623 lack the first, before XP SP1
    // the second; older ones search the program's folder before the current
    // one, and we load nothing by a bare name.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCSTR);
    const SetDefaultDllDirectoriesFn setDefault =
        systemFn<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault)
        setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
    const SetDllDirectoryFn setDir = systemFn<SetDllDirectoryFn>("kernel32.dll", "SetDllDirectoryA");
    if (setDir)
        setDir("");  // drops the current directory from the search where the above is missing
}
