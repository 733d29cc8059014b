// The install copy: the manifest's files from the media into the demo tree,
// with the completion bar moved by bytes copied.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/manifest.h"
#include "launcher/progress.h"
#include "launcher/sourceread.h"
#include "launcher/treefile.h"

double total_copied;
int numbytes;
int percent;

namespace {
// The destination being written, for abandonInstall; set once abandoned, for good.
HANDLE openDest = INVALID_HANDLE_VALUE;
bool abandoned;

// Each block walked through the byte counting, so that the bar moves at the
// very byte counts a copy of one byte per step would move it.
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

// Writes the current source's steps, the first of them in hand, to ofp; false
// on a read or write error.
bool copySteps(SourceStep step, HANDLE ofp)
{
    for (;;) {
        if (step.kind != SourceStep::Data)
            return step.kind == SourceStep::End;
        countBlock(step.len);
        if (abandoned)
            return false;
        DWORD put = 0;
        if (!WriteFile(ofp, step.data, step.len, &put, nullptr) || put != step.len)
            return false;
        if (!nextSourceStep(step))
            return false;
    }
}

// Passes over the rest of a source whose destination could not be made.
bool skipSteps(SourceStep step)
{
    while (step.kind == SourceStep::Data)
        if (!nextSourceStep(step))
            return false;
    return true;
}

// Copies the next source of the reads into dest (ending in a backslash) as
// ifile. 0 on a copy error the install must not pass over; a missing source
// is not one.
int filecopy(const char* ifile, const char* dest)
{
    char ofile[PATH_BUF];
    SourceStep step;
    // Both opens come first, the source's on the reads' thread: a missing
    // source still leaves an empty file behind.
    if (abandoned || !pathJoin(ofile, sizeof ofile, dest, ifile) || !nextSourceStep(step))
        return 0;
    HANDLE ofp = createFresh(ofile);
    const DWORD createError = ofp == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (step.kind == SourceStep::Unopened || ofp == INVALID_HANDLE_VALUE) {
        if (ofp != INVALID_HANDLE_VALUE && !CloseHandle(ofp))
            return 0;
        // A link in the way, or a disk with no room left, cannot be passed over:
        // the game would run on files that are not ours or not there.
        if (createError == ERROR_REPARSE_TAG_MISMATCH || createError == ERROR_DISK_FULL)
            return 0;
        return skipSteps(step) ? 1 : 0;
    }

    openDest = ofp;
    bool ok = copySteps(step, ofp);
    if (abandoned)
        return 0;  // closed there
    openDest = INVALID_HANDLE_VALUE;
    return CloseHandle(ofp) && ok ? 1 : 0;
}
}  // namespace

void abandonInstall()
{
    abandoned = true;
    abandonSourceReads();
    if (openDest != INVALID_HANDLE_VALUE)
        CloseHandle(openDest);
    openDest = INVALID_HANDLE_VALUE;
}

bool installGame()
{
    // The disc starts on its first seek while the bar is being made.
    startSourceReads(installManifest, INSTALL_COUNT);
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
    endSourceReads();  // its wait dispatches messages: the session may end there too
    SetCursor(NormalCursor);
    if (abandoned)
        return false;  // the session's end has cleaned up
    // The bar stays open on success: the game start closes it.
    if (ok)
        return true;

    CloseCompletionBar();
    warn("ERROR: Could not copy the BK2 Demo files.");
    killbrak();
    return false;
}
