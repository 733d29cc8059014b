// The attribute-list calls, looked up in kernel32 at run time.
#include "launcher/procattr.h"

#include "common/sysproc.h"

ProcAttrApi procAttrApi()
{
    const char* k = "kernel32.dll";
    ProcAttrApi api = {systemFn<InitAttrsFn>(k, "InitializeProcThreadAttributeList"),
                       systemFn<UpdateAttrFn>(k, "UpdateProcThreadAttribute"),
                       systemFn<DeleteAttrsFn>(k, "DeleteProcThreadAttributeList")};
    return api;
}

void childCreated() {}
