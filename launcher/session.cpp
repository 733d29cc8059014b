// The session's end. Windows may end the process as soon as WM_ENDSESSION has
// been answered, so the clean-up happens before the answer; the play cycle
// then unwinds without starting anything.
#include "launcher/launcher.h"

#include "common/sysproc.h"
#include "launcher/cbar/dlgcbar.h"

namespace {
// What the game's tree gets to end after the end has reached us; what it
// still holds then stays for the next start's clean-up.
const DWORD kTreeEndMs = 3000;

typedef BOOL(WINAPI* ReasonCreate)(HWND, LPCWSTR);
typedef BOOL(WINAPI* ReasonDestroy)(HWND);
}  // namespace

bool sessionEnding()
{
    return SessionEnded || GetSystemMetrics(SM_SHUTTINGDOWN);
}

bool endSession()
{
    if (SessionEnded)
        return false;  // a second one, nested in our own waits, has nothing to add
    SessionEnded = 1;
    // Windows before Vista has neither.
    const ReasonCreate create = systemFn<ReasonCreate>("user32.dll", "ShutdownBlockReasonCreate");
    const ReasonDestroy destroy =
        systemFn<ReasonDestroy>("user32.dll", "ShutdownBlockReasonDestroy");
    const bool reason = create && destroy && create(BrakDemoHWND, L"Removing the BK2 Demo files");

    abandonInstall();  // its open files first: a destination open unshared cannot go
    CloseCompletionBar();
    awaitGameTree(kTreeEndMs);
    removeDemoTree(false, 0);

    if (reason)
        destroy(BrakDemoHWND);
    return true;
}
