// Common ground for the completion bar's Wine tests.
#include "tests/win/cbar_support.h"

#include "bwcc/bwcc.h"
#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/cbarres.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"

namespace {
SentLog* activeLog;

std::string classOf(HWND hwnd)
{
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

LRESULT CALLBACK recordSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && activeLog) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        activeLog->sent.push_back({m->hwnd, classOf(m->hwnd), m->message, m->wParam, m->lParam});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK collectDialog(HWND hwnd, LPARAM out)
{
    if (classOf(hwnd) == "bordlg")
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(hwnd);
    return TRUE;
}
}  // namespace

void CBarTest::SetUpTestSuite()
{
    hInst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(BWCCRegister(hInst));
}

void CBarTest::SetUp()
{
    // Hidden, as the launcher's main window is; the dialog sits at 7, 20 dialog
    // units from its client area, so this keeps it well on the screen.
    HWND owner = CreateWindowExA(0, "STATIC", "BrakDemo", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300,
                                 nullptr, nullptr, hInst, nullptr);
    ASSERT_NE(owner, nullptr);
    BrakDemoHWND = Current_hwnd = owner;
}

void CBarTest::TearDown()
{
    CloseCompletionBar();
    EXPECT_TRUE(ourDialogs().empty());
    DestroyWindow(BrakDemoHWND);
    BrakDemoHWND = Current_hwnd = nullptr;
    pump();
}

std::vector<HWND> ourDialogs()
{
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), collectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND openDialog()
{
    const std::vector<HWND> dialogs = ourDialogs();
    EXPECT_LE(dialogs.size(), 1u);
    return dialogs.empty() ? nullptr : dialogs.front();
}

std::string titleOf(HWND hwnd)
{
    char text[128] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

HWND barOf(HWND dlg)
{
    return GetDlgItem(dlg, IDC_CBAR);
}

SentLog::SentLog()
    : hook_(SetWindowsHookExA(WH_CALLWNDPROC, recordSent, nullptr, GetCurrentThreadId()))
{
    EXPECT_NE(hook_, nullptr);
    activeLog = this;
}

SentLog::~SentLog()
{
    activeLog = nullptr;
    UnhookWindowsHookEx(hook_);
}

std::vector<int> SentLog::percents(const char* cls) const
{
    std::vector<int> values;
    for (const Sent& s : sent)
        if (s.message == CBM_SETPERCENT && s.cls == cls)
            values.push_back(static_cast<int>(s.lParam));
    return values;
}
