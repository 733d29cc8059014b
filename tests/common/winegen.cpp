// The Wine generation, from ntdll's wine_get_version, which only Wine exports.
#include "tests/common/winegen.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
const char* version()
{
    typedef const char*(CDECL * VersionFn)();
    FARPROC proc = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    if (!proc)
        return nullptr;
    VersionFn fn;
    std::memcpy(&fn, &proc, sizeof fn);
    return fn();
}
}  // namespace

int wineMajor()
{
    const char* v = version();
    return v ? std::atoi(v) : 0;
}

std::string wineName()
{
    const char* v = version();
    return v ? std::string("Wine ") + v : "Windows";
}
