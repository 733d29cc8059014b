// The play cycle's first steps: memory and disk checks, the temporary
// directory and the demo tree under it.
#include "launcher/launcher.h"
#include "launcher/prepcore.h"
#include "launcher/sysmem.h"

char dir0[PATH_BUF];
char dir1[PATH_BUF];
char dir2[PATH_BUF];
char dir3[PATH_BUF];

namespace {
char env_tmp[PATH_BUF];  // T
char* const demoDir[DEMO_DIRS] = {dir0, dir1, dir2, dir3};

bool memoryOk()
{
    if (memoryQualifies(totalPhysicalMemory()))
        return true;
    warn("ERROR: BK2 requires a minimum of 12 MB of RAM.");
    return false;
}

bool diskOk()
{
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters)) {
        warn("ERROR: Could not check for free disk space on drive C:.");
        return false;
    }
    if (diskQualifies(freeBytes(freeClusters, bytesPerSector, sectorsPerCluster)))
        return true;
    warn("ERROR: Not enough disk space, BK2 requires at least 15MB on drive C:");
    return false;
}

// Reads one variable into buf; a value the buffer cannot hold whole is
// reported as not fitting, never cut short.
TempCandidate readCandidate(const char* name, char* buf)
{
    TempCandidate c = {false, false, buf, ATTR_NONE};
    buf[0] = '\0';
    const DWORD len = GetEnvironmentVariableA(name, buf, PATH_BUF);
    c.present = len > 0;  // unset and empty read alike: both unusable
    c.fits = len < PATH_BUF;
    if (c.present && c.fits)
        c.attributes = GetFileAttributesA(buf);
    return c;
}

void chooseTempDir()
{
    char tmp[PATH_BUF], temp[PATH_BUF];
    // Read in turn: TEMP is only consulted when TMP will not do.
    TempCandidate c[2] = {readCandidate("TMP", tmp)};
    if (!tempUsable(c[0]))
        c[1] = readCandidate("TEMP", temp);
    // The chosen value left room for the deepest path, so this always fits.
    pathJoin(env_tmp, sizeof env_tmp, chooseTemp(c, 2), "");
    dropTrailingBackslash(env_tmp);
}

// Every directory is attempted before any is judged; a directory that was
// already there as a plain directory counts as made.
bool buildTree()
{
    int made[DEMO_DIRS];
    for (int i = 0; i < DEMO_DIRS; ++i) {
        made[i] = 0;
        if (!pathJoin(demoDir[i], PATH_BUF, env_tmp, demoDirSuffix[i]))
            continue;
        CreateDirectoryA(demoDir[i], nullptr);
        made[i] = isPlainDirectory(GetFileAttributesA(demoDir[i]));
    }
    for (int flag : made)
        if (!flag) {
            warn("Could not create temporary BK2 Demo Directories!");
            // Deepest first; only empty directories go, whoever made them.
            for (int i = DEMO_DIRS - 1; i >= 0; --i)
                RemoveDirectoryA(demoDir[i]);
            return false;
        }
    return true;
}
}  // namespace

bool preparePlay()
{
    if (!memoryOk() || !diskOk())
        return false;
    chooseTempDir();
    return buildTree();
}
