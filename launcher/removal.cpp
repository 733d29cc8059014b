// Removing the demo tree: our names only, never through a link, directories
// only when empty. After a game with the completion bar, at start-up without.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/manifest.h"
#include "launcher/prepcore.h"
#include "launcher/treefile.h"

// A file still held by a straggler of the game gets a few more tries; the
// whole removal waits no more than this for them.
const DWORD REMOVAL_RETRY_MS = 4500;

namespace {
const DWORD kFirstBackoffMs = 50;
DWORD retryLeftMs;

bool heldElsewhere(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}
}  // namespace

void deleteFile(const char* file, const char* path)
{
    char fullName[PATH_BUF];
    if (!pathJoin(fullName, sizeof fullName, path, file))
        return;
    // A planted link stays where it is: deleting it may reach its target (it
    // does under Wine), and the directories holding it then stay too.
    if (isLinkedElsewhere(fullName))
        return;
    const DWORD attr = GetFileAttributesA(fullName);
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY))
        return;  // a missing file is passed over
    // The game may have marked a file of ours read-only: only names on our
    // list get this far.
    if (attr & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(fullName, attr & ~FILE_ATTRIBUTE_READONLY);
    DWORD backoff = kFirstBackoffMs;
    while (!DeleteFileA(fullName) && heldElsewhere(GetLastError()) && retryLeftMs > 0) {
        const DWORD ms = backoff < retryLeftMs ? backoff : retryLeftMs;
        pauseAnsweringSent(ms);
        // The session's end may have run a removal of its own meanwhile.
        retryLeftMs = SessionEnded || retryLeftMs < ms ? 0 : retryLeftMs - ms;
        backoff *= 2;
    }
}

namespace {
bool showBar;

void step(int percent)
{
    if (showBar)
        SetCompletionBar(percent);
}

// Deletes names [from, to) in dir, unless dir is a link or lies under one.
void deleteAll(const char* const* names, int from, int to, const char* dir, bool safe)
{
    char location[PATH_BUF];
    if (!safe || !pathJoin(location, sizeof location, dir, "\\"))
        return;
    for (int i = from; i < to; ++i)
        deleteFile(names[i], location);
}
}  // namespace

void removeDemoTree(bool withBar, DWORD retryMs)
{
    showBar = withBar;
    retryLeftMs = retryMs;
    bool safe[DEMO_DIRS];
    safeTreeDirs(treeDirs, safe);

    step(0);  // opens the bar under its default title
    deleteAll(removeRoot, 0, REMOVE_ROOT, dir0, safe[0]);
    step(20);
    deleteAll(removeDemodata, 0, 22, dir1, safe[1]);
    step(40);
    deleteAll(removeDemodata, 22, REMOVE_DEMODATA, dir1, safe[1]);
    step(60);
    deleteAll(removeSim, 0, 10, dir2, safe[2]);
    step(80);
    deleteAll(removeSim, 10, REMOVE_SIM, dir2, safe[2]);
    deleteAll(removeLaunch, 0, REMOVE_LAUNCH, dir3, safe[3]);

    // Deepest first; one that still holds something stays, with those above it.
    // A link stays too: removing it may remove its target instead (Wine does).
    for (int i = DEMO_DIRS - 1; i >= 0; --i)
        if (safe[i])
            RemoveDirectoryA(treeDirs[i]);
    step(100);
    if (showBar)
        CloseCompletionBar();
}

void killbrak()
{
    if (SessionEnded)
        return;  // the session's end has removed the tree already
    HCURSOR WaitCursor = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR NormalCursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(WaitCursor);
    removeDemoTree(true, REMOVAL_RETRY_MS);
    SetCursor(NormalCursor);
}
