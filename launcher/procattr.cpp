// The attribute-list calls, looked up in kernel32 at run time.
#include "launcher/procattr.h"

namespace {
template <class Fn> Fn lookUp(HMODULE kernel, const char* name)
{
    FARPROC proc = kernel ? GetProcAddress(kernel, name) : nullptr;
    Fn fn;
    static_assert(sizeof fn == sizeof proc, "function pointer sizes");
    CopyMemory(&fn, &proc, sizeof fn);
    return fn;
}
}  // namespace

ProcAttrApi procAttrApi()
{
    HMODULE k = GetModuleHandleA("kernel32.dll");
    ProcAttrApi api = {lookUp<InitAttrsFn>(k, "InitializeProcThreadAttributeList"),
                       lookUp<UpdateAttrFn>(k, "UpdateProcThreadAttribute"),
                       lookUp<DeleteAttrsFn>(k, "DeleteProcThreadAttributeList")};
    return api;
}

void childCreated() {}
