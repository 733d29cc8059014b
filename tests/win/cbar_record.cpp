// Stands in for the completion bar in the play-cycle tests: records every call
// and drains the queue at each step, as the real bar does.
#include "tests/win/cbar_record.h"

#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/win/testsupport.h"

std::vector<BarCall> barCalls;
void (*onBarSet)(int percent);

namespace {
bool open;
}

void OpenCompletionBar(const char* title)
{
    barCalls.push_back({'O', title, 0, total_copied, GetCursor()});
    open = true;
    pump();
}

void SetCompletionBar(int p)
{
    if (!open)
        OpenCompletionBar("Please Wait...Uninstalling BK2 Demo");
    barCalls.push_back({'S', "", p, total_copied, GetCursor()});
    if (onBarSet)
        onBarSet(p);
    pump();
}

void SetCompletionBarBumps(int) {}
void BumpCompletionBar() {}

void CloseCompletionBar()
{
    if (!open)
        return;
    barCalls.push_back({'C', "", 0, total_copied, GetCursor()});
    open = false;
    pump();
}
