// The launcher's process-creation seam for the matrix's start rows: the
// attribute calls as the system has them, or, with BRAKTEST_OLD_WINDOWS=1,
// as Windows 7 and 8 have them (a job list is refused); and with
// BRAKTEST_END_AT_START=N the launcher ends itself, as if killed, right after
// creating its N-th child. Linked into brakstart_seam.exe only.
#include <cstdlib>

#include "launcher/procattr.h"

namespace {
template <class Fn> Fn lookUp(HMODULE kernel, const char* name)
{
    FARPROC proc = GetProcAddress(kernel, name);
    Fn fn;
    static_assert(sizeof fn == sizeof proc, "function pointer sizes");
    CopyMemory(&fn, &proc, sizeof fn);
    return fn;
}

BOOL WINAPI refuseJobList(ProcThreadAttrs, DWORD, DWORD_PTR, void*, SIZE_T, void*, SIZE_T*)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

int envNumber(const char* name)
{
    char value[16];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? atoi(value) : 0;
}
}  // namespace

ProcAttrApi procAttrApi()
{
    HMODULE k = GetModuleHandleA("kernel32.dll");
    ProcAttrApi api = {lookUp<InitAttrsFn>(k, "InitializeProcThreadAttributeList"),
                       lookUp<UpdateAttrFn>(k, "UpdateProcThreadAttribute"),
                       lookUp<DeleteAttrsFn>(k, "DeleteProcThreadAttributeList")};
    if (envNumber("BRAKTEST_OLD_WINDOWS"))
        api.update = refuseJobList;
    return api;
}

void childCreated()
{
    static int created;
    if (++created == envNumber("BRAKTEST_END_AT_START"))
        TerminateProcess(GetCurrentProcess(), 99);
}
