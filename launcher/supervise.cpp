// The launcher's supervision decisions.
#include "launcher/supervise.h"

TickAction tickAction(bool menuRunning, bool quitRequested, bool cycleRunning,
                      int ticksCounted)
{
    if (menuRunning)
        return TICK_NOTHING;
    // A quit request ends it even inside a play cycle.
    if (quitRequested)
        return TICK_END;
    if (cycleRunning)
        return TICK_NOTHING;
    // The second tick that finds the front-end gone ends it.
    return ticksCounted >= 1 ? TICK_END : TICK_COUNT;
}

ControlAction controlAction(uint64_t code)
{
    if (code == 0)
        return CONTROL_QUIT;
    if (code == 1)
        return CONTROL_RUN;
    return CONTROL_NONE;
}
