// Starting the launcher's children (the menu, the game, the follow-up) so that
// a launcher ended in the middle of a start leaves no child suspended for good.
#pragma once
#include <windows.h>

enum ChildStart {
    CHILD_FAILED,   // not started
    CHILD_OUTSIDE,  // runs, but outside the job asked for
    CHILD_IN_JOB    // runs, in the job asked for, if any
};

// CreateProcessA's app, command line and directory (app and dir may be null).
// job: one the child is to run in from the start, or null; jobLimits: the
// limit flags it was made with, which it keeps (Wine 8 and 10 answer a query
// of them with 0).
ChildStart startChild(const char* app, char* cmdline, const char* dir, HANDLE job,
                      DWORD jobLimits, PROCESS_INFORMATION* pi);

// At start-up, with the demo directories chosen: ends a child that a killed
// launcher left suspended, as the record in the demo root names it, and
// removes the record.
void endSuspendedLeftover();
