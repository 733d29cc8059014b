// Removing the demo tree, with the completion bar moving in fixed steps.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/manifest.h"
#include "launcher/treefile.h"

void deleteFile(const char* file, const char* path)
{
    char fullName[PATH_BUF];
    if (!pathJoin(fullName, sizeof fullName, path, file))
        return;
    // A planted link stays where it is: deleting it may reach its target (it
    // does under Wine), and the directories holding it then stay too.
    if (isLinkedElsewhere(fullName))
        return;
    DeleteFileA(fullName);  // a missing or busy file is passed over
}

namespace {
void deleteAll(const char* const* names, int from, int to, const char* location)
{
    for (int i = from; i < to; ++i)
        deleteFile(names[i], location);
}

// location = dir + "\"; the directories were sized for this by the preparation.
bool locationIn(char* location, const char* dir)
{
    return pathJoin(location, PATH_BUF, dir, "\\");
}

// Removing a directory link may remove its (empty) target instead (Wine does).
void removeTreeDir(const char* dir)
{
    const DWORD attr = GetFileAttributesA(dir);
    if (attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_REPARSE_POINT))
        RemoveDirectoryA(dir);
}
}  // namespace

void killbrak()
{
    char location[PATH_BUF];
    HCURSOR WaitCursor = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR NormalCursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(WaitCursor);

    SetCompletionBar(0);  // opens the bar under its default title
    if (locationIn(location, dir0))
        deleteAll(removeRoot, 0, REMOVE_ROOT, location);
    SetCompletionBar(20);
    const bool demodata = locationIn(location, dir1);
    if (demodata)
        deleteAll(removeDemodata, 0, 22, location);
    SetCompletionBar(40);
    if (demodata)
        deleteAll(removeDemodata, 22, REMOVE_DEMODATA, location);
    SetCompletionBar(60);
    const bool sim = locationIn(location, dir2);
    if (sim)
        deleteAll(removeSim, 0, 10, location);
    SetCompletionBar(80);
    if (sim)
        deleteAll(removeSim, 10, REMOVE_SIM, location);
    if (locationIn(location, dir3))
        deleteAll(removeLaunch, 0, REMOVE_LAUNCH, location);

    // Deepest first; one that still holds something stays, with those above it.
    removeTreeDir(dir3);
    removeTreeDir(dir2);
    removeTreeDir(dir1);
    removeTreeDir(dir0);
    SetCompletionBar(100);
    CloseCompletionBar();
    SetCursor(NormalCursor);
}
