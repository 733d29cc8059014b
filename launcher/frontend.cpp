// Starting and watching the front-end menu program.
#include "launcher/launcher.h"

#include "launcher/childstart.h"

PROCESS_INFORMATION processInfo;

namespace {
char sLaunch[12] = "BK2DEMO.EXE";  // writable: CreateProcessA may modify its command line
const char* sPath = nullptr;       // the front-end inherits the launcher's current directory
}

void startDemo()
{
    if (sessionEnding())
        return;  // the session is over: nobody is left to use a menu
    PROCESS_INFORMATION started = {};
    if (startChild(nullptr, sLaunch, sPath, nullptr, 0, &started) != CHILD_FAILED) {
        // The earlier front-end's handles go now: ExistProcess only ever asks
        // about the newest one, and nothing leaks per play cycle.
        if (processInfo.hProcess)
            CloseHandle(processInfo.hProcess);
        if (processInfo.hThread)
            CloseHandle(processInfo.hThread);
        processInfo = started;
        RunProgram = 0;
        TimerCount = 0;
        waitUntilIdle(processInfo.hProcess);
    } else {
        // A failed start keeps the previous record: the launcher then ends once
        // that earlier front-end has gone.
        warn("Could not start BK2 Demo!");
        RunProgram = 0;
        TimerCount = 0;
        DemoQuit = 1;
    }
}

int ExistProcess(PROCESS_INFORMATION* pi)
{
    // Ask the handle's wait state, not the exit code: a program may exit with
    // 259 (STILL_ACTIVE) and must not count as running for ever. A record never
    // filled holds no handle; its wait fails, so it counts as not running.
    return WaitForSingleObject(pi->hProcess, 0) == WAIT_TIMEOUT ? 1 : 0;
}
