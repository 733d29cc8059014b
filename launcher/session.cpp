// The session's end. Windows may end the process as soon as WM_ENDSESSION has
// been answered, so the clean-up happens before the answer; the play cycle
// then unwinds without starting anything.
#include "launcher/launcher.h"

#include "launcher/cbar/dlgcbar.h"

namespace {
// What the game's tree gets to end after the end has reached us; what it
// still holds then stays for the next start's clean-up.
const DWORD kTreeEndMs = 3000;

typedef BOOL(WINAPI* ReasonCreate)(HWND, LPCWSTR);
typedef BOOL(WINAPI* ReasonDestroy)(HWND);

// Looked up at run time: Windows before Vista has neither.
template <class F> F user32Proc(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    FARPROC proc = user32 ? GetProcAddress(user32, name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}
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
    const ReasonCreate create = user32Proc<ReasonCreate>("ShutdownBlockReasonCreate");
    const ReasonDestroy destroy = user32Proc<ReasonDestroy>("ShutdownBlockReasonDestroy");
    const bool reason = create && destroy && create(BrakDemoHWND, L"Removing the BK2 Demo files");

    abandonInstall();  // its open files first: a destination open unshared cannot go
    CloseCompletionBar();
    awaitGameTree(kTreeEndMs);
    removeDemoTree(false, 0);

    if (reason)
        destroy(BrakDemoHWND);
    return true;
}
