// A process's resources read from outside it. GetProcessHandleCount and
// GetGuiResources return 0 under Wine, so the figures come from the system
// handle list, the window list and /proc.
#include "tools/cycles/procstats.h"

#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "tests/common/testfs.h"
#include "tests/common/unixside.h"

namespace {
// The system's handle list (Wine fills it from its server): one entry a handle.
struct HandleEntry {
    ULONG pid;
    BYTE type;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};

// The handle values pid holds; false if the list cannot be had.
bool handlesOf(DWORD pid, std::vector<USHORT>* out)
{
    std::vector<char> buf(1 << 20);
    ULONG need = 0;
    NTSTATUS st;
    while ((st = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16),
                                          buf.data(), static_cast<ULONG>(buf.size()), &need)) ==
           static_cast<NTSTATUS>(0xC0000004L))  // STATUS_INFO_LENGTH_MISMATCH
        buf.resize(buf.size() * 2);
    if (st != 0)
        return false;
    const auto* list = reinterpret_cast<const HandleList*>(buf.data());
    for (ULONG i = 0; i < list->count; ++i)
        if (list->entries[i].pid == pid)
            out->push_back(list->entries[i].value);
    return true;
}
}  // namespace

long handleCount(DWORD pid)
{
    std::vector<USHORT> values;
    return handlesOf(pid, &values) ? static_cast<long>(values.size()) : -1;
}

std::string handleKinds(DWORD pid)
{
    std::vector<USHORT> values;
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid);
    if (!process || !handlesOf(pid, &values)) {
        if (process)
            CloseHandle(process);
        return "unknown";
    }
    std::map<std::string, int> kinds;
    for (USHORT v : values) {
        HANDLE dup;
        if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(v)),
                             GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
            ++kinds["?"];
            continue;
        }
        union {
            PUBLIC_OBJECT_TYPE_INFORMATION info;
            char space[512];
        } type;
        std::string name = "?";
        if (NtQueryObject(dup, ObjectTypeInformation, &type, sizeof type, nullptr) == 0)
            name.assign(type.info.TypeName.Buffer,
                        type.info.TypeName.Buffer + type.info.TypeName.Length / 2);
        ++kinds[name];
        CloseHandle(dup);
    }
    CloseHandle(process);
    std::string out;
    for (const auto& kv : kinds)
        out += (out.empty() ? "" : ", ") + kv.first + " " + std::to_string(kv.second);
    return out;
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
