// The start-up clean-up: a tree left by a killed launcher, or by a removal
// that found files still held, goes before the menu starts.
#include "launcher/launcher.h"

#include "launcher/childstart.h"
#include "launcher/treeacl.h"
#include "launcher/treefile.h"

void removeLeftoverTree()
{
    chooseDemoDirs();
    // Others are shut out before anything inside is read or removed: an older
    // launcher's tree let every account change it.
    bool safe[DEMO_DIRS];
    safeTreeDirs(treeDirs, safe);
    for (int i = 0; i < DEMO_DIRS; ++i)
        if (safe[i])
            keepDirPrivate(treeDirs[i]);
    // A child left suspended would hold its files in the tree.
    endSuspendedLeftover();
    const DWORD attr = dir0[0] ? GetFileAttributesA(dir0) : INVALID_FILE_ATTRIBUTES;
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
        removeDemoTree(false, REMOVAL_RETRY_MS);
}
