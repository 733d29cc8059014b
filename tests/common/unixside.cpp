// Wine's Unix side: path mapping and shell commands.
#include "tests/common/unixside.h"

#include <windows.h>

#include <cstring>

#include "tests/common/testfs.h"

std::string unixPath(const std::string& win)
{
    typedef char*(CDECL * UnixNameFn)(LPCWSTR);
    FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!proc)
        return "";
    UnixNameFn fn;
    std::memcpy(&fn, &proc, sizeof fn);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, win.c_str(), -1, wide, MAX_PATH);
    char* u = fn(wide);
    std::string out = u ? u : "";
    HeapFree(GetProcessHeap(), 0, u);
    return out;
}

// Wine starts Unix programs too, but gives no handle that tells their end:
// the command leaves its status in a marker file.
bool runUnix(const std::string& command)
{
    char marker[MAX_PATH];
    GetTempFileNameA(".", "ux", 0, marker);
    DeleteFileA(marker);
    const std::string um = unixPath(marker);
    std::string cmd = "/bin/sh -c \"(" + command + ") && echo 0 > '" + um + "' || echo 1 > '" +
                      um + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (um.empty() || !CreateProcessA("Z:\\bin\\sh", &cmd[0], nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::string result;
    for (int i = 0; i < 400 && (result = readText(marker)).empty(); ++i)
        Sleep(25);
    DeleteFileA(marker);
    return result.compare(0, 1, "0") == 0;
}
