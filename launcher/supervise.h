// The launcher's supervision as decisions over plain values: what a timer tick
// does, and what a control message's code sets.
#pragma once
#include <cstdint>

enum {
    SUPERVISE_TIMER = 1,    // the hidden window's timer
    SUPERVISE_MS = 3000     // its period
};

enum TickAction {
    TICK_NOTHING,  // the front-end runs, or a play cycle keeps the tick from counting
    TICK_COUNT,    // the front-end was found gone: one more tick counts
    TICK_END       // stop the timer and end the launcher
};

// menuRunning: the newest front-end still runs; quitRequested: DemoQuit;
// cycleRunning: RunProgram; ticksCounted: TimerCount before this tick.
TickAction tickAction(bool menuRunning, bool quitRequested, bool cycleRunning,
                      int ticksCounted);

enum ControlAction {
    CONTROL_NONE,  // any code but 0 and 1
    CONTROL_QUIT,  // DemoQuit = 1
    CONTROL_RUN    // RunProgram = 1, TimerCount = 0, then the play cycle
};

// The message's wParam, whole: only exactly 0 or 1 means anything.
ControlAction controlAction(uint64_t code);
