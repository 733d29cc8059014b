// The supervision's decisions: every combination a tick can meet, and every
// kind of code a control message can carry.
#include <gtest/gtest.h>

#include "launcher/supervise.h"

namespace {
const TickAction N = TICK_NOTHING, C = TICK_COUNT, E = TICK_END;

struct TickRow {
    bool menu, quit, cycle;
    int ticks;
    TickAction action;
};

// Running front-end: nothing, whatever else holds. Gone with a quit request:
// the end, play cycle or not. Gone without one: a play cycle keeps the tick
// from counting; otherwise the first tick counts and the second ends.
const TickRow kTicks[] = {
    {true, false, false, 0, N}, {true, false, false, 1, N}, {true, false, false, 2, N},
    {true, false, true, 0, N},  {true, false, true, 1, N},  {true, false, true, 2, N},
    {true, true, false, 0, N},  {true, true, false, 1, N},  {true, true, false, 2, N},
    {true, true, true, 0, N},   {true, true, true, 1, N},   {true, true, true, 2, N},
    {false, true, false, 0, E}, {false, true, false, 1, E}, {false, true, false, 2, E},
    {false, true, true, 0, E},  {false, true, true, 1, E},  {false, true, true, 2, E},
    {false, false, true, 0, N}, {false, false, true, 1, N}, {false, false, true, 2, N},
    {false, false, false, 0, C}, {false, false, false, 1, E}, {false, false, false, 2, E},
};

TEST(Supervise, TickActionForEveryState)
{
    for (const TickRow& r : kTicks)
        EXPECT_EQ(tickAction(r.menu, r.quit, r.cycle, r.ticks), r.action)
            << "menu " << r.menu << " quit " << r.quit << " cycle " << r.cycle << " ticks "
            << r.ticks;
}

TEST(Supervise, ControlActionForEveryKindOfCode)
{
    const struct {
        uint64_t code;
        ControlAction action;
    } rows[] = {
        {0, CONTROL_QUIT},
        {1, CONTROL_RUN},
        {2, CONTROL_NONE},
        {0xFFFFFFFBu, CONTROL_NONE},          // -5 as the relay posts it
        {0xFFFFFFFFu, CONTROL_NONE},          // -1
        {0x80000000u, CONTROL_NONE},          // the smallest int
        {0x100000000ull, CONTROL_NONE},       // a 64-bit wParam is read whole
        {0x100000001ull, CONTROL_NONE},
        {0xFFFFFFFFFFFFFFFFull, CONTROL_NONE},
    };
    for (const auto& r : rows)
        EXPECT_EQ(controlAction(r.code), r.action) << std::hex << r.code;
}
}  // namespace
