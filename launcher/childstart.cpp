// Starting a child in a job that ends it if the launcher dies before the start
// is through; where the system cannot create a child in a job (before Windows
// 10), a record in the demo root names the child until it runs, so that the
// next launcher can end it.
#include "launcher/childstart.h"

#include "launcher/launcher.h"
#include "launcher/laterapi.h"
#include "launcher/procattr.h"
#include "launcher/startrecord.h"
#include "launcher/treeacl.h"
#include "launcher/treefile.h"

namespace {
const DWORD kLeftoverEndMs = 5000;  // a leftover's end, before its tree is removed

bool setLimitFlags(HANDLE job, DWORD flags)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = flags;
    return setJobInformation(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) !=
           0;
}

// CreateProcessA with the child in job from its first instruction. False where
// the system cannot: no attribute list before Vista, no job list before
// Windows 10 (UpdateProcThreadAttribute or CreateProcessA refuses it).
bool createInJob(const char* app, char* cmdline, const char* dir, HANDLE job,
                 PROCESS_INFORMATION* pi)
{
    const ProcAttrApi api = procAttrApi();
    if (!api.init || !api.update || !api.remove)
        return false;
    alignas(8) unsigned char room[128];  // one attribute: 48 bytes on x86-64
    SIZE_T size = 0;
    api.init(nullptr, 1, 0, &size);
    ProcThreadAttrs list = reinterpret_cast<ProcThreadAttrs>(room);
    if (size == 0 || size > sizeof room || !api.init(list, 1, 0, &size))
        return false;
    bool made = false;
    if (api.update(list, 0, ATTRIBUTE_JOB_LIST, &job, sizeof job, nullptr, nullptr)) {
        StartupInfoExA si;
        ZeroMemory(&si, sizeof si);
        si.StartupInfo.cb = sizeof si;
        si.lpAttributeList = list;
        made = CreateProcessA(app, cmdline, nullptr, nullptr, FALSE, EXTENDED_STARTUP_INFO,
                              nullptr, dir, &si.StartupInfo, pi) != 0;
    }
    api.remove(list);
    return made;
}

// The child in the given job, or in one of its own, with the job's kill on
// close set until the child has been created: a launcher that dies meanwhile
// takes the child with it. Once lifted, a launcher that dies leaves the child
// running, as without a job.
bool startInKillJob(const char* app, char* cmdline, const char* dir, HANDLE job,
                    DWORD jobLimits, PROCESS_INFORMATION* pi)
{
    HANDLE own = job ? nullptr : createJob();
    HANDLE j = job ? job : own;
    const DWORD flags = job ? jobLimits : 0;
    const bool started = j && setLimitFlags(j, flags | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE) &&
                         createInJob(app, cmdline, dir, j, pi);
    if (started)
        childCreated();
    // A job whose kill stays set is kept open for the launcher's life rather
    // than closed under the child.
    if (j && setLimitFlags(j, flags) && own)
        CloseHandle(own);
    return started;
}

bool recordRoot(char* root)
{
    return pathJoin(root, PATH_BUF, dir0, "\\");
}

void dropRecord(bool madeRoot)
{
    char root[PATH_BUF];
    if (recordRoot(root))
        deleteFile(START_RECORD_NAME, root);
    if (madeRoot)
        RemoveDirectoryA(dir0);
}

uint64_t fileTime(const FILETIME& t)
{
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Writes the record of a child created suspended into the demo root, made for
// it if it is not there (the menu starts while there is no tree) and kept to
// the player like the tree: the next launcher looks there first, and the
// tree's place is ours to use and remove, unless another account's.
bool writeRecord(const PROCESS_INFORMATION& pi, bool* madeRoot)
{
    *madeRoot = false;
    char root[PATH_BUF], path[PATH_BUF];
    FILETIME created;
    bool safe[DEMO_DIRS];
    safeTreeDirs(treeDirs, safe);
    if (!safe[0] || !recordRoot(root) || !pathJoin(path, sizeof path, root, START_RECORD_NAME) ||
        !processCreated(pi.hProcess, &created))
        return false;
    const bool ready = makePrivateDir(dir0, madeRoot);
    const StartRecord r = {pi.dwProcessId, pi.dwThreadId, fileTime(created)};
    char text[START_RECORD_MAX];
    const DWORD n = static_cast<DWORD>(formatStartRecord(r, text, sizeof text));
    HANDLE h = ready ? createFresh(path) : INVALID_HANDLE_VALUE;
    DWORD done = 0;
    const bool written = h != INVALID_HANDLE_VALUE && WriteFile(h, text, n, &done, nullptr) &&
                         done == n;
    if (h != INVALID_HANDLE_VALUE)
        CloseHandle(h);
    if (!written)
        dropRecord(*madeRoot);
    return written;
}

// Created suspended, recorded, put in its job, let go, the record removed.
// Where the system has no jobs (9x, NT 4.0) nothing has to happen before the
// child runs: it is created running, with no record to leave behind.
ChildStart startWithRecord(const char* app, char* cmdline, const char* dir, HANDLE job,
                           PROCESS_INFORMATION* pi)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    const bool jobs = jobsWork();
    if (!CreateProcessA(app, cmdline, nullptr, nullptr, FALSE, jobs ? CREATE_SUSPENDED : 0,
                        nullptr, dir, &si, pi))
        return CHILD_FAILED;
    if (!jobs) {
        childCreated();
        return job ? CHILD_OUTSIDE : CHILD_IN_JOB;
    }
    bool madeRoot;
    const bool recorded = writeRecord(*pi, &madeRoot);
    childCreated();
    // Before it runs, so that nothing it starts escapes the job.
    const bool inJob = !job || assignToJob(job, pi->hProcess);
    ResumeThread(pi->hThread);
    if (recorded)
        dropRecord(madeRoot);
    return inJob ? CHILD_IN_JOB : CHILD_OUTSIDE;
}

// Whether tid is a thread of process pid: a thread ID is reused once its
// thread has gone.
bool threadOf(DWORD pid, DWORD tid)
{
    HANDLE snap = snapshot(TH32CS_SNAPTHREAD);
    if (snap == INVALID_HANDLE_VALUE)
        return false;
    THREADENTRY32 te;
    te.dwSize = sizeof te;
    bool found = false;
    for (BOOL more = firstThread(snap, &te); more && !found; more = nextThread(snap, &te))
        found = te.th32ThreadID == tid && te.th32OwnerProcessID == pid;
    CloseHandle(snap);
    return found;
}

// The thread's suspend count, left as it was; -1 if it cannot be read.
long suspendCount(DWORD tid)
{
    HANDLE t = openThread(THREAD_SUSPEND_RESUME, tid);
    if (!t)
        return -1;
    const DWORD before = SuspendThread(t);
    if (before != static_cast<DWORD>(-1))
        ResumeThread(t);
    CloseHandle(t);
    return before == static_cast<DWORD>(-1) ? -1 : static_cast<long>(before);
}

void endIfNeverRan(const StartRecord& r)
{
    HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                           r.pid);
    if (!p)
        return;
    FILETIME created = {};
    const bool running = WaitForSingleObject(p, 0) == WAIT_TIMEOUT && processCreated(p, &created);
    // Another program's thread is never touched: the process must be ours first.
    const bool ours = running && fileTime(created) == r.created;
    const bool owned = ours && threadOf(r.pid, r.tid);
    const long count = owned ? suspendCount(r.tid) : -1;
    if (neverRanChild(r, running, fileTime(created), owned, count)) {
        TerminateProcess(p, 1);
        WaitForSingleObject(p, kLeftoverEndMs);  // its image must be let go before the tree goes
    }
    CloseHandle(p);
}
}  // namespace

ChildStart startChild(const char* app, char* cmdline, const char* dir, HANDLE job,
                      DWORD jobLimits, PROCESS_INFORMATION* pi)
{
    if (startInKillJob(app, cmdline, dir, job, jobLimits, pi))
        return CHILD_IN_JOB;
    return startWithRecord(app, cmdline, dir, job, pi);
}

void endSuspendedLeftover()
{
    char root[PATH_BUF], path[PATH_BUF];
    bool safe[DEMO_DIRS];
    safeTreeDirs(treeDirs, safe);
    if (!safe[0] || !recordRoot(root) || !pathJoin(path, sizeof path, root, START_RECORD_NAME) ||
        isLinkedElsewhere(path))
        return;
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    char text[START_RECORD_MAX];
    DWORD n = 0;
    const bool read = ReadFile(h, text, sizeof text, &n, nullptr) != 0;
    CloseHandle(h);
    StartRecord r;
    if (read && parseStartRecord(text, n, &r))
        endIfNeverRan(r);
    deleteFile(START_RECORD_NAME, root);
}
