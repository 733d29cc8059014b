// Writing and deleting in the demo tree without following links.
#include "launcher/treefile.h"

#include <cstring>

#include "common/sysproc.h"
#include "launcher/ansicp.h"
#include "launcher/progress.h"
#include "launcher/treeacl.h"

namespace {
typedef DWORD(WINAPI* FinalPathFn)(HANDLE, LPSTR, DWORD, DWORD);

// Looked up at run time: systems before Vista lack it (and have no file links).
FinalPathFn finalPathQuery()
{
    static const FinalPathFn fn =
        systemFn<FinalPathFn>("kernel32.dll", "GetFinalPathNameByHandleA");
    return fn;
}

// Where the system takes path to, links followed.
bool resolve(FinalPathFn query, const char* path, char* out, DWORD cap)
{
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const DWORD n = query(h, out, cap, 0 /* FILE_NAME_NORMALIZED | VOLUME_NAME_DOS */);
    CloseHandle(h);
    return n > 0 && n < cap;
}
}  // namespace

bool isLinkedElsewhere(const char* path)
{
    const DWORD attr = GetFileAttributesA(path);
    if (attr == INVALID_FILE_ATTRIBUTES)
        return false;  // nothing there; a dangling link makes CREATE_NEW fail instead
    if (attr & FILE_ATTRIBUTE_REPARSE_POINT)
        return true;

    // Wine shows a Unix symbolic link to a file as a plain file: only where it
    // resolves gives it away.
    FinalPathFn query = finalPathQuery();
    const LeadBytes& lb = ansiLeadBytes();
    const char* slash = lastBackslash(path, lb);
    if (!query || !slash)
        return false;
    char dir[MAX_PATH];
    const size_t dirLen = static_cast<size_t>(slash - path);
    if (dirLen >= sizeof dir)
        return true;
    std::memcpy(dir, path, dirLen);
    dir[dirLen] = '\0';

    char resolvedFile[2 * MAX_PATH], resolvedDir[2 * MAX_PATH];
    if (!resolve(query, path, resolvedFile, sizeof resolvedFile) ||
        !resolve(query, dir, resolvedDir, sizeof resolvedDir))
        return false;  // not open to inspection: the delete and create that follow decide
    return !resolvesInPlace(resolvedFile, resolvedDir, slash + 1, lb);
}

HANDLE createFresh(const char* path)
{
    if (isLinkedElsewhere(path)) {
        SetLastError(ERROR_REPARSE_TAG_MISMATCH);
        return INVALID_HANDLE_VALUE;
    }
    DeleteFileA(path);  // a file that stays makes the create below fail
    // CREATE_NEW never opens what is there, a link least of all.
    return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

void safeTreeDirs(const char* const dirs[DEMO_DIRS], bool safe[DEMO_DIRS])
{
    for (int i = 0; i < DEMO_DIRS; ++i) {
        const int above = demoDirParent[i];
        safe[i] = dirs[i][0] != '\0' && (above < 0 || safe[above]) && !isLinkedElsewhere(dirs[i]) &&
                  !foreignDir(dirs[i]);
    }
}
