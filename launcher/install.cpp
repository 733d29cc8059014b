// The install copy: the manifest's files from the media into the demo tree,
// with the completion bar moved by bytes copied.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/manifest.h"
#include "launcher/progress.h"
#include "launcher/treefile.h"

double total_copied;
int numbytes;
int percent;

namespace {
// Large blocks, each walked through the byte counting, so that the bar moves
// at the very byte counts a copy of one byte per step would move it.
char block[64 * 1024];

// The files being copied, for abandonInstall; set once abandoned, for good.
HANDLE openSource = INVALID_HANDLE_VALUE;
HANDLE openDest = INVALID_HANDLE_VALUE;
bool abandoned;

void countBlock(DWORD len)
{
    size_t left = len;
    // The bar's drain is where the session's end can come.
    while (left > 0 && !abandoned) {
        bool due = false;
        left -= countCopied(total_copied, numbytes, percent, left, due);
        if (due)
            SetCompletionBar(percent);
    }
}

// Copies one open file to the other; false on a read or write error.
bool copyOpen(HANDLE ifp, HANDLE ofp)
{
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(ifp, block, sizeof block, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        countBlock(got);
        if (abandoned)
            return false;
        DWORD put = 0;
        if (!WriteFile(ofp, block, got, &put, nullptr) || put != got)
            return false;
    }
}
}  // namespace

void abandonInstall()
{
    abandoned = true;
    if (openSource != INVALID_HANDLE_VALUE)
        CloseHandle(openSource);
    if (openDest != INVALID_HANDLE_VALUE)
        CloseHandle(openDest);
    openSource = openDest = INVALID_HANDLE_VALUE;
}

int filecopy(const char* ifile, const char* dest)
{
    char ofile[PATH_BUF];
    if (abandoned || !pathJoin(ofile, sizeof ofile, dest, ifile))
        return 0;

    // Both opens come first: a missing source still leaves an empty file behind.
    HANDLE ifp = CreateFileA(ifile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    HANDLE ofp = createFresh(ofile);
    const DWORD createError = ofp == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (ifp == INVALID_HANDLE_VALUE || ofp == INVALID_HANDLE_VALUE) {
        if (ifp != INVALID_HANDLE_VALUE)
            CloseHandle(ifp);
        if (ofp != INVALID_HANDLE_VALUE && !CloseHandle(ofp))
            return 0;
        // A link in the way, or a disk with no room left, cannot be passed over:
        // the game would run on files that are not ours or not there.
        return createError == ERROR_REPARSE_TAG_MISMATCH || createError == ERROR_DISK_FULL ? 0 : 1;
    }

    openSource = ifp;
    openDest = ofp;
    bool ok = copyOpen(ifp, ofp);
    if (abandoned)
        return 0;  // closed there
    openSource = openDest = INVALID_HANDLE_VALUE;
    ok = CloseHandle(ifp) && ok;
    ok = CloseHandle(ofp) && ok;
    return ok ? 1 : 0;
}

bool installGame()
{
    OpenCompletionBar("Please wait...Installing BK2 Demo!");
    percent = 0;
    total_copied = 0;

    char location[PATH_BUF];
    bool ok = pathJoin(location, sizeof location, dir0, "\\");

    HCURSOR WaitCursor = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR NormalCursor = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(WaitCursor);
    for (int i = 0; ok && i < INSTALL_COUNT; ++i)
        ok = filecopy(installManifest[i], location) != 0;
    SetCursor(NormalCursor);
    // The bar stays open on success: the game start closes it.
    if (ok)
        return true;
    if (abandoned)
        return false;  // the session's end has cleaned up

    CloseCompletionBar();
    warn("ERROR: Could not copy the BK2 Demo files.");
    killbrak();
    return false;
}
