// The start-up clean-up: a tree left by a killed launcher, or by a removal
// that found files still held, goes before the menu starts.
#include "launcher/launcher.h"

#include "launcher/childstart.h"

void removeLeftoverTree()
{
    chooseDemoDirs();
    // A child left suspended would hold its files in the tree.
    endSuspendedLeftover();
    const DWORD attr = dir0[0] ? GetFileAttributesA(dir0) : INVALID_FILE_ATTRIBUTES;
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY))
        removeDemoTree(false, REMOVAL_RETRY_MS);
}
