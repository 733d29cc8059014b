// A process's resources read from outside it. GetProcessHandleCount and
// GetGuiResources return 0 under Wine, so the figures come from the system
// process list, the window list and /proc.
#include "tests/e2e/procstats.h"

#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/common/testfs.h"
#include "tests/common/unixside.h"

long handleCount(DWORD pid)
{
    std::vector<char> buf(1 << 20);
    ULONG need = 0;
    NTSTATUS st;
    while ((st = NtQuerySystemInformation(SystemProcessInformation, buf.data(),
                                          static_cast<ULONG>(buf.size()), &need)) ==
           static_cast<NTSTATUS>(0xC0000004L))  // STATUS_INFO_LENGTH_MISMATCH
        buf.resize(buf.size() * 2);
    if (st != 0)
        return -1;
    for (size_t at = 0;;) {
        const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buf.data() + at);
        if (reinterpret_cast<ULONG_PTR>(p->UniqueProcessId) == pid)
            return static_cast<long>(p->HandleCount);
        if (!p->NextEntryOffset)
            return -1;
        at += p->NextEntryOffset;
    }
}

namespace {
struct WindowTally {
    DWORD pid;
    long count;
};

BOOL CALLBACK tallyChild(HWND hwnd, LPARAM lParam)
{
    auto* t = reinterpret_cast<WindowTally*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    t->count += pid == t->pid;
    return TRUE;
}

BOOL CALLBACK tallyTop(HWND hwnd, LPARAM lParam)
{
    tallyChild(hwnd, lParam);
    EnumChildWindows(hwnd, tallyChild, lParam);
    return TRUE;
}
}  // namespace

long windowCount(DWORD pid)
{
    WindowTally t = {pid, 0};
    EnumWindows(tallyTop, reinterpret_cast<LPARAM>(&t));
    return t.count;
}

std::string unixPidOf(const std::string& name, const std::string& workDir)
{
    const std::string out = workDir + "\\unixpid.txt";
    const std::string u = unixPath(out);
    // Wine names each of its processes after the program's file (comm), and
    // every process of one prefix carries that prefix in its environment.
    const std::string scan = "for d in /proc/[0-9]*; do if grep -qx " + name +
                             " $d/comm 2>/dev/null && tr '\\0' '\\n' < $d/environ 2>/dev/null"
                             " | grep -qx WINEPREFIX=$WINEPREFIX; then echo ${d#/proc/}; fi;"
                             " done > '" + u + "'";
    if (u.empty() || !runUnix(scan))
        return "";
    std::string pid = readText(out);
    DeleteFileA(out.c_str());
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r'))
        pid.pop_back();
    return pid.find('\n') == std::string::npos ? pid : "";
}

long residentKb(const std::string& unixPid)
{
    const std::string status = readText("Z:\\proc\\" + unixPid + "\\status");
    const size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : atol(status.c_str() + at + 6);
}
