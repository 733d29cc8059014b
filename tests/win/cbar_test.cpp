// The completion bar's interface: its states, titles, the percent sequence the bar
// receives, bumps, close requests and the input it must ignore.
#include <vector>

#include "common/ctlmsg.h"
#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/win/cbar_support.h"

namespace {
const char kDefaultTitle[] = "Please Wait...Uninstalling BK2 Demo";
const char kInstallTitle[] = "Please wait...Installing BK2 Demo!";

using Percents = std::vector<int>;

LRESULT CALLBACK passOn(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Gives a new plain window the handle `dead`, as the system does once that handle's
// slot in the handle table has gone round its 16-bit uniqueness count. Hooks take their
// handles from the same table and cost little, so they turn the count; null when the
// slot is not the one handed out next.
HWND windowWithHandle(HWND dead)
{
    const DWORD_PTR want = reinterpret_cast<DWORD_PTR>(dead);
    const WORD before = HIWORD(want) == 1 ? 0xFFFE : HIWORD(want) - 1;
    for (int i = 0; i < 0x10000; ++i) {
        HHOOK h = SetWindowsHookExA(WH_CALLWNDPROC, passOn, nullptr, GetCurrentThreadId());
        const DWORD_PTR got = reinterpret_cast<DWORD_PTR>(h);
        UnhookWindowsHookEx(h);
        if (LOWORD(got) != LOWORD(want))
            return nullptr;
        if (HIWORD(got) == before)
            break;
    }
    HWND w = CreateWindowExA(0, "STATIC", "bystander", WS_POPUP, 0, 0, 50, 50,
                             nullptr, nullptr, nullptr, nullptr);
    if (w != dead)
        DestroyWindow(w);
    return w == dead ? w : nullptr;
}

TEST_F(CBarTest, SetWithNoneOpenShowsTheDefaultTitledBar)
{
    SentLog log;
    SetCompletionBar(42);
    HWND dlg = openDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(titleOf(dlg), kDefaultTitle);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), BrakDemoHWND);
    EXPECT_EQ(log.percents("bordlg"), Percents{42});
    EXPECT_EQ(log.percents("CBarControl"), Percents{42});
}

TEST_F(CBarTest, OpenCarriesTheTitleAndReplacesAnOpenBar)
{
    OpenCompletionBar(kInstallTitle);
    HWND first = openDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(titleOf(first), kInstallTitle);  // the template's caption never shows
    EXPECT_TRUE(IsWindowVisible(first));
    SetCompletionBar(80);

    OpenCompletionBar("Second");
    HWND second = openDialog();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(titleOf(second), "Second");
    EXPECT_NE(barOf(second), nullptr);
}

TEST_F(CBarTest, EachSetSendsItsPercentUnclampedAndRepaintsBeforeReturning)
{
    OpenCompletionBar(kInstallTitle);
    HWND bar = barOf(openDialog());
    ASSERT_NE(bar, nullptr);
    const Percents values{0, 20, 40, 60, 80, 100, 150, -5, 100};

    SentLog log;
    for (int p : values) {
        SetCompletionBar(p);
        EXPECT_FALSE(GetUpdateRect(bar, nullptr, FALSE)) << "paint still pending after " << p;
    }
    EXPECT_EQ(log.percents("bordlg"), values);
    EXPECT_EQ(log.percents("CBarControl"), values);
    for (const Sent& s : log.sent) {
        if (s.message == CBM_SETPERCENT) {
            EXPECT_EQ(s.wParam, 0u);
        }
    }
}

TEST_F(CBarTest, BumpsFollowTheirScaleAndStartAtZero)
{
    SentLog log;
    BumpCompletionBar();  // nothing open: nothing happens, nothing counts
    EXPECT_EQ(openDialog(), nullptr);
    EXPECT_TRUE(log.percents("CBarControl").empty());

    SetCompletionBarBumps(3);
    ASSERT_NE(openDialog(), nullptr);
    EXPECT_EQ(titleOf(openDialog()), kDefaultTitle);
    for (int i = 0; i < 4; ++i)
        BumpCompletionBar();
    EXPECT_EQ(log.percents("CBarControl"), (Percents{0, 33, 66, 100, 133}));

    log.sent.clear();
    SetCompletionBarBumps(7);
    for (int i = 0; i < 7; ++i)
        BumpCompletionBar();
    EXPECT_EQ(log.percents("CBarControl"), (Percents{0, 14, 28, 42, 57, 71, 85, 100}));
}

// A scale of zero (the count before any SetCompletionBarBumps) or below would divide by
// zero or run backwards: such a bump is not taken until a positive scale is set.
TEST_F(CBarTest, BumpWithoutAPositiveScaleDoesNothing)
{
    OpenCompletionBar(kInstallTitle);
    SentLog log;
    for (int scale : {0, -2}) {
        SetCompletionBarBumps(scale);
        BumpCompletionBar();
        BumpCompletionBar();
    }
    SetCompletionBarBumps(2);
    BumpCompletionBar();
    EXPECT_EQ(log.percents("CBarControl"), (Percents{0, 0, 0, 50}));
}

TEST_F(CBarTest, CloseDestroysAndIsHarmlessWhenNothingIsOpen)
{
    CloseCompletionBar();
    OpenCompletionBar(kInstallTitle);
    HWND dlg = openDialog();
    CloseCompletionBar();
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(openDialog(), nullptr);
    CloseCompletionBar();

    // Closed again: the next set opens a fresh default-titled bar.
    SetCompletionBar(20);
    ASSERT_NE(openDialog(), nullptr);
    EXPECT_EQ(titleOf(openDialog()), kDefaultTitle);
}

TEST_F(CBarTest, EverySetAsksForTheForegroundAgain)
{
    OpenCompletionBar(kInstallTitle);
    HWND dlg = openDialog();
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400,
                                 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    for (int p : {10, 20}) {
        SetForegroundWindow(other);
        pump();
        ASSERT_EQ(GetForegroundWindow(), other);
        SetCompletionBar(p);
        EXPECT_EQ(GetForegroundWindow(), dlg) << "at " << p;
    }
    DestroyWindow(other);
}

// A close request (from outside: the dialog has no close box) releases the font and
// destroys the dialog. The module keeps the dead handle until the next open or close,
// but never addresses it again: it could name someone else's window by then.
TEST_F(CBarTest, CloseRequestReleasesTheFontAndLaterCallsReachNoWindow)
{
    OpenCompletionBar(kInstallTitle);
    HWND dlg = openDialog();
    const HFONT font = hcbarfont;
    ASSERT_NE(font, nullptr);
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_EQ(GetObjectType(font), 0u);
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(hInst, "CBarControl", &wc));  // refused: the bar still existed

    // The system hands the dead handle out again once its index has gone round;
    // a window that gets it is someone else's and must not be touched.
    HWND bystander = windowWithHandle(dlg);
    if (!bystander)
        GTEST_SKIP() << "the dialog's handle slot is not the next one handed out here";
    SentLog log;
    SetCompletionBar(40);
    SetCompletionBarBumps(4);
    BumpCompletionBar();
    CloseCompletionBar();
    for (const Sent& s : log.sent) {
        EXPECT_NE(s.message, CBM_SETPERCENT) << "to a " << s.cls;
        EXPECT_NE(s.message, WM_DESTROY) << "to a " << s.cls;
    }
    EXPECT_EQ(openDialog(), nullptr);
    EXPECT_TRUE(IsWindow(bystander));
    EXPECT_NE(GetForegroundWindow(), bystander);
    DestroyWindow(bystander);

    // Closed: a set opens a default-titled bar as usual.
    SetCompletionBar(60);
    ASSERT_NE(openDialog(), nullptr);
    EXPECT_EQ(titleOf(openDialog()), kDefaultTitle);
}

TEST_F(CBarTest, OpenAfterACloseRequestOpensAsUsual)
{
    OpenCompletionBar(kInstallTitle);
    SendMessageA(openDialog(), WM_CLOSE, 0, 0);
    ASSERT_EQ(openDialog(), nullptr);

    SentLog log;
    OpenCompletionBar("Again");
    HWND dlg = openDialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(titleOf(dlg), "Again");
    EXPECT_NE(hcbarfont, nullptr);
    SetCompletionBar(70);
    EXPECT_EQ(log.percents("CBarControl"), Percents{70});
    CloseCompletionBar();
    EXPECT_FALSE(IsWindow(dlg));
}

// The queue draining does no dialog keyboard handling and the dialog ignores commands;
// the launcher's control message reaches the pop-up too (it is a top-level window).
TEST_F(CBarTest, KeysCommandsAndTheControlMessageDoNothing)
{
    OpenCompletionBar(kInstallTitle);
    SetCompletionBar(30);
    HWND dlg = openDialog();
    HWND bar = barOf(dlg);
    const UINT control = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
    ASSERT_NE(control, 0u);

    for (HWND target : {dlg, bar}) {
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
            PostMessageA(target, WM_KEYDOWN, key, 1);
            PostMessageA(target, WM_CHAR, key == VK_RETURN ? '\r' : 0x1B, 1);
            PostMessageA(target, WM_KEYUP, key, 0xC0000001);
        }
    }
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(dlg, control, BRAK_CODE_RUN, 0);
    PostMessageA(dlg, control, BRAK_CODE_QUIT, 0);

    SentLog log;
    SetCompletionBar(31);  // drains all of the above
    EXPECT_EQ(openDialog(), dlg);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(titleOf(dlg), kInstallTitle);
    EXPECT_EQ(barOf(dlg), bar);
    EXPECT_EQ(log.percents("CBarControl"), Percents{31});
}
}  // namespace
