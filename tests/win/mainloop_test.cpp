// The main loop and the hidden window's procedure in process: which copy of a
// control message is acted on, and what ticks do while a play cycle runs.
// win_tests links the copybrak below in place of the real play cycle.
#include <gtest/gtest.h>

#include "common/ctlmsg.h"
#include "launcher/launcher.h"
#include "tests/win/testsupport.h"

namespace {
struct CycleSeen {
    int calls;
    int runProgram, timerCount;  // as the cycle found them
};
CycleSeen cycle;
int ticksInCycle;  // timer ticks the stand-in cycle lets through, front-end gone

void tick()
{
    SendMessageA(BrakDemoHWND, WM_TIMER, 1, 0);
}

bool quitQueued()
{
    MSG m;
    return PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        DemoMessage = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
        ASSERT_NE(DemoMessage, 0u);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "BrakDemo";
        RegisterClassA(&wc);
        BrakDemoHWND = Current_hwnd = CreateWindowExA(0, "BrakDemo", "BrakDemo",
                                                      WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                                      nullptr, wc.hInstance, nullptr);
        // Another top-level window of the thread, as the IME window or the
        // completion bar is when a broadcast arrives.
        other_ = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_TRUE(BrakDemoHWND && other_);
        processInfo = PROCESS_INFORMATION{};  // the front-end is gone
        DemoQuit = RunProgram = TimerCount = QuitPosted = 0;
        cycle = CycleSeen{};
        ticksInCycle = 0;
    }
    void TearDown() override
    {
        DestroyWindow(other_);
        DestroyWindow(BrakDemoHWND);  // posts a quit of its own
        pump();
        quitQueued();
        QuitPosted = 0;
    }
    // Posts a control message and hands the copy it takes out of the queue to
    // the loop; whether the loop goes on.
    bool throughLoop(HWND to, WPARAM code)
    {
        PostMessageA(to, DemoMessage, code, 0);
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, to, DemoMessage, DemoMessage, PM_REMOVE));
        return mainLoopMessage(msg);
    }
    HWND other_ = nullptr;
};
}  // namespace

void copybrak()
{
    cycle.calls++;
    cycle.runProgram = RunProgram;
    cycle.timerCount = TimerCount;
    for (int i = 0; i < ticksInCycle; ++i)
        tick();  // as the bar's drain dispatches them
    RunProgram = TimerCount = 0;  // the closing front-end start
}

TEST_F(MainLoop, OnlyOurOwnCopyTakenOutByTheLoopIsActedOn)
{
    enum How { Loop, Drain };
    const struct {
        const char* what;
        bool ours;
        How how;
        WPARAM code;
        int quit, cycles;
    } rows[] = {
        {"quit to us", true, Loop, BRAK_CODE_QUIT, 1, 0},
        {"quit to another window", false, Loop, BRAK_CODE_QUIT, 0, 0},
        {"quit dispatched by a drain", true, Drain, BRAK_CODE_QUIT, 0, 0},
        {"run to us", true, Loop, BRAK_CODE_RUN, 0, 1},
        {"run to another window", false, Loop, BRAK_CODE_RUN, 0, 0},
        {"run dispatched by a drain", true, Drain, BRAK_CODE_RUN, 0, 0},
        {"code 2 to us", true, Loop, 2, 0, 0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        DemoQuit = 0;
        TimerCount = 1;
        cycle = CycleSeen{};
        HWND to = r.ours ? BrakDemoHWND : other_;
        if (r.how == Loop) {
            EXPECT_TRUE(throughLoop(to, r.code));
        } else {
            PostMessageA(to, DemoMessage, r.code, 0);
            pump();
        }
        EXPECT_EQ(DemoQuit, r.quit);
        EXPECT_EQ(cycle.calls, r.cycles);
        if (r.cycles) {
            EXPECT_EQ(cycle.runProgram, 1);
            EXPECT_EQ(cycle.timerCount, 0);
        }
    }
    EXPECT_FALSE(quitQueued());
}

// A play cycle long enough for two ticks, the front-end gone meanwhile: the
// ticks do not count, and the loop goes on to restart supervision.
TEST_F(MainLoop, TicksDuringAPlayCycleDoNotEndTheLauncher)
{
    ticksInCycle = 2;
    EXPECT_TRUE(throughLoop(BrakDemoHWND, BRAK_CODE_RUN));
    EXPECT_EQ(cycle.calls, 1);
    EXPECT_FALSE(quitQueued());

    // Back in supervision, the same two ticks end it.
    tick();
    EXPECT_EQ(TimerCount, 1);
    EXPECT_FALSE(quitQueued());
    tick();
    EXPECT_TRUE(quitQueued());
}

// A quit request, then a run request whose cycle meets a tick: rule 1 ends the
// launcher inside the cycle, the drain eats the quit, the loop still ends.
TEST_F(MainLoop, QuitDecidedInsideAPlayCycleEndsTheLoopAfterIt)
{
    EXPECT_TRUE(throughLoop(BrakDemoHWND, BRAK_CODE_QUIT));
    ticksInCycle = 1;
    EXPECT_FALSE(throughLoop(BrakDemoHWND, BRAK_CODE_RUN));
    EXPECT_EQ(cycle.calls, 1);
}
