// Placeholder until the completion bar lands: no dialog, but each step drains
// the queue as the real bar does, so messages that arrive meanwhile go the same way.
#include "launcher/cbar/dlgcbar.h"

#include <windows.h>

namespace {
void drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
}  // namespace

void OpenCompletionBar(const char*) { drain(); }
void SetCompletionBar(int) { drain(); }
void SetCompletionBarBumps(int) { drain(); }
void BumpCompletionBar() { drain(); }
void CloseCompletionBar() { drain(); }
