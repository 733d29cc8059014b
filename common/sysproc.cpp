// Run-time lookups in system DLLs.
#include "common/sysproc.h"

FARPROC systemProc(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    if (!module) {
        // Only from the system folder: the media's own folder may hold anything.
        char path[MAX_PATH];
        const UINT len = GetSystemDirectoryA(path, MAX_PATH);
        const int dllLen = lstrlenA(dll);
        if (len == 0 || len + 1 + dllLen >= MAX_PATH)
            return nullptr;
        path[len] = '\\';
        CopyMemory(path + len + 1, dll, dllLen + 1);
        module = LoadLibraryA(path);  // kept for the process's life, like the imported ones
    }
    return module ? GetProcAddress(module, name) : nullptr;
}
