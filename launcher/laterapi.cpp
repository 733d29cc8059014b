// Run-time lookups of the kernel calls newer than the oldest Windows we serve.
#include "launcher/laterapi.h"

#include "common/sysproc.h"

namespace {
const char k[] = "kernel32.dll";

typedef HANDLE(WINAPI* CreateJobFn)(LPSECURITY_ATTRIBUTES, LPCSTR);
typedef BOOL(WINAPI* SetJobFn)(HANDLE, JOBOBJECTINFOCLASS, LPVOID, DWORD);
typedef BOOL(WINAPI* AssignFn)(HANDLE, HANDLE);
typedef HANDLE(WINAPI* CreatePortFn)(HANDLE, HANDLE, ULONG_PTR, DWORD);
typedef BOOL(WINAPI* PortFn)(HANDLE, LPDWORD, PULONG_PTR, LPOVERLAPPED*, DWORD);
typedef HANDLE(WINAPI* SnapshotFn)(DWORD, DWORD);
typedef BOOL(WINAPI* ProcessWalkFn)(HANDLE, LPPROCESSENTRY32);
typedef BOOL(WINAPI* ThreadWalkFn)(HANDLE, LPTHREADENTRY32);
typedef HANDLE(WINAPI* OpenThreadFn)(DWORD, BOOL, DWORD);
typedef BOOL(WINAPI* TimesFn)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);
typedef DWORD(WINAPI* WideVarFn)(LPCWSTR, LPWSTR, DWORD);
typedef int(WINAPI* WideCmpFn)(LPCWSTR, LPCWSTR);

// Null where the facts say the call does not work here, else the lookup's.
template <class Fn> Fn found(bool works, const char* name)
{
    return works ? systemFn<Fn>(k, name) : nullptr;
}

BOOL refused()
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

struct Jobs {
    CreateJobFn create;
    SetJobFn set;
    AssignFn assign;
};

const Jobs& jobCalls()
{
    static const bool works = systemFacts().jobs;
    static const Jobs calls = {found<CreateJobFn>(works, "CreateJobObjectA"),
                               found<SetJobFn>(works, "SetInformationJobObject"),
                               found<AssignFn>(works, "AssignProcessToJobObject")};
    return calls;
}

bool toolhelp()
{
    return systemFacts().toolhelp;
}
}  // namespace

bool jobsWork()
{
    const Jobs& j = jobCalls();
    return j.create && j.set && j.assign;
}

HANDLE createJob()
{
    if (!jobsWork()) {
        refused();
        return nullptr;
    }
    return jobCalls().create(nullptr, nullptr);
}

BOOL setJobInformation(HANDLE job, JOBOBJECTINFOCLASS kind, void* info, DWORD size)
{
    return jobsWork() ? jobCalls().set(job, kind, info, size) : refused();
}

BOOL assignToJob(HANDLE job, HANDLE process)
{
    return jobsWork() ? jobCalls().assign(job, process) : refused();
}

HANDLE createPort()
{
    static const CreatePortFn fn =
        found<CreatePortFn>(systemFacts().jobs, "CreateIoCompletionPort");
    if (!fn) {
        refused();
        return nullptr;
    }
    return fn(INVALID_HANDLE_VALUE, nullptr, 0, 1);
}

BOOL portNotice(HANDLE port, DWORD* code, ULONG_PTR* key, LPOVERLAPPED* detail, DWORD ms)
{
    static const PortFn fn = found<PortFn>(systemFacts().jobs, "GetQueuedCompletionStatus");
    return fn ? fn(port, code, key, detail, ms) : refused();
}

HANDLE snapshot(DWORD flags)
{
    static const SnapshotFn fn = found<SnapshotFn>(toolhelp(), "CreateToolhelp32Snapshot");
    if (!fn) {
        refused();
        return INVALID_HANDLE_VALUE;
    }
    return fn(flags, 0);
}

BOOL firstProcess(HANDLE snap, PROCESSENTRY32* pe)
{
    static const ProcessWalkFn fn = found<ProcessWalkFn>(toolhelp(), "Process32First");
    return fn ? fn(snap, pe) : refused();
}

BOOL nextProcess(HANDLE snap, PROCESSENTRY32* pe)
{
    static const ProcessWalkFn fn = found<ProcessWalkFn>(toolhelp(), "Process32Next");
    return fn ? fn(snap, pe) : refused();
}

BOOL firstThread(HANDLE snap, THREADENTRY32* te)
{
    static const ThreadWalkFn fn = found<ThreadWalkFn>(toolhelp(), "Thread32First");
    return fn ? fn(snap, te) : refused();
}

BOOL nextThread(HANDLE snap, THREADENTRY32* te)
{
    static const ThreadWalkFn fn = found<ThreadWalkFn>(toolhelp(), "Thread32Next");
    return fn ? fn(snap, te) : refused();
}

HANDLE openThread(DWORD access, DWORD tid)
{
    static const OpenThreadFn fn = found<OpenThreadFn>(systemFacts().openThread, "OpenThread");
    if (!fn) {
        refused();
        return nullptr;
    }
    return fn(access, FALSE, tid);
}

BOOL processCreated(HANDLE process, FILETIME* created)
{
    static const TimesFn fn = found<TimesFn>(systemFacts().processTimes, "GetProcessTimes");
    FILETIME exited, kernel, user;
    return fn ? fn(process, created, &exited, &kernel, &user) : refused();
}

namespace {
WideVarFn wideVarCall()
{
    static const WideVarFn fn =
        found<WideVarFn>(systemFacts().wideCalls, "GetEnvironmentVariableW");
    return fn;
}

WideCmpFn wideCmpCall()
{
    static const WideCmpFn fn = found<WideCmpFn>(systemFacts().wideCalls, "lstrcmpW");
    return fn;
}
}  // namespace

bool wideCallsWork()
{
    return wideVarCall() && wideCmpCall();
}

DWORD wideVariable(const wchar_t* name, wchar_t* buf, DWORD cap)
{
    return wideCallsWork() ? wideVarCall()(name, buf, cap) : refused();
}

bool sameWide(const wchar_t* a, const wchar_t* b)
{
    return wideCallsWork() && wideCmpCall()(a, b) == 0;
}
