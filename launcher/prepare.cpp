// The play cycle's first steps: memory and disk checks, the temporary
// directory and the demo tree under it.
#include "launcher/launcher.h"
#include "launcher/ansicp.h"
#include "launcher/laterapi.h"
#include "launcher/prepcore.h"
#include "launcher/sysmem.h"
#include "launcher/treeacl.h"
#include "launcher/treefile.h"

char dir0[PATH_BUF];
char dir1[PATH_BUF];
char dir2[PATH_BUF];
char dir3[PATH_BUF];

char* const treeDirs[DEMO_DIRS] = {dir0, dir1, dir2, dir3};

namespace {
char env_tmp[PATH_BUF];  // T

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

// The value in the code page's characters, exactly: false where it has
// letters the code page lacks, or the result does not fit.
bool narrowExactly(const wchar_t* wide, char* out, int cap)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, out, cap, nullptr, nullptr);
    wchar_t back[PATH_BUF];
    return n > 0 &&
           MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, out, -1, back, PATH_BUF) > 0 &&
           sameWide(back, wide);
}

// Reads one variable into buf; a value the buffer cannot hold whole, or not
// without loss, is reported as not fitting, never cut short. Read wide where
// wide calls work: the narrow call cuts a value with non-ASCII letters under
// the UTF-8 code page (Wine counts its length in UTF-16 units), which may name
// another folder. Windows 9x has no UTF-8 code page and no working wide call:
// there the narrow value is the value.
TempCandidate readCandidate(const char* name, char* buf)
{
    TempCandidate c = {false, false, buf, ATTR_NONE};
    buf[0] = '\0';
    DWORD len;
    if (wideCallsWork()) {
        wchar_t wideName[8], wide[PATH_BUF];
        int i = 0;
        for (; name[i] && i < 7; ++i)
            wideName[i] = static_cast<wchar_t>(name[i]);  // ASCII
        wideName[i] = L'\0';
        len = wideVariable(wideName, wide, PATH_BUF);
        c.fits = len < PATH_BUF && narrowExactly(wide, buf, PATH_BUF);
    } else {
        len = GetEnvironmentVariableA(name, buf, PATH_BUF);
        c.fits = len < PATH_BUF;
        if (!c.fits)
            buf[0] = '\0';
    }
    c.present = len > 0;  // unset and empty read alike: both unusable
    if (c.present && c.fits)
        c.attributes = GetFileAttributesA(buf);
    return c;
}

void chooseTempDir()
{
    char tmp[PATH_BUF], temp[PATH_BUF];
    // Read in turn: TEMP is only consulted when TMP will not do.
    TempCandidate c[2] = {readCandidate("TMP", tmp)};
    const LeadBytes& lb = ansiLeadBytes();
    if (!tempUsable(c[0], lb))
        c[1] = readCandidate("TEMP", temp);
    // The chosen value left room for the deepest path, so this always fits.
    pathJoin(env_tmp, sizeof env_tmp, chooseTemp(c, 2, lb), "");
    dropTrailingBackslash(env_tmp, lb);
}

// Every directory is attempted before any is judged; a directory of the
// player's that was already there as a usable directory counts as made, once
// it is kept to the player again. One that is a link, lies under one, or is
// another account's is neither made, changed nor removed: the tree is unusable.
bool buildTree()
{
    bool safe[DEMO_DIRS], ready[DEMO_DIRS] = {};
    safeTreeDirs(treeDirs, safe);
    for (int i = 0; i < DEMO_DIRS; ++i) {
        bool made;
        if (safe[i])
            ready[i] = makePrivateDir(treeDirs[i], &made);
    }
    safeTreeDirs(treeDirs, safe);
    for (int i = 0; i < DEMO_DIRS; ++i)
        if (!safe[i] || !ready[i] || !usableDirectory(GetFileAttributesA(treeDirs[i]))) {
            warn("Could not create temporary BK2 Demo Directories!");
            // Deepest first; only empty directories go, whoever made them. A
            // link stays: removing it may remove its target instead (Wine does).
            for (int j = DEMO_DIRS - 1; j >= 0; --j)
                if (safe[j])
                    RemoveDirectoryA(treeDirs[j]);
            return false;
        }
    return true;
}
}  // namespace

void chooseDemoDirs()
{
    chooseTempDir();
    for (int i = 0; i < DEMO_DIRS; ++i)
        pathJoin(treeDirs[i], PATH_BUF, env_tmp, demoDirSuffix[i]);  // empty if it does not fit
}

bool preparePlay()
{
    if (!memoryOk() || !diskOk())
        return false;
    chooseDemoDirs();
    return buildTree();
}
