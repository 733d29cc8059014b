// The install and the removal driving the real completion bar: what reaches the
// dialog is exactly what a byte-at-a-time copy would have shown, install after
// install in one process.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "launcher/cbar/cbarctl.h"
#include "launcher/cbar/dlgcbar.h"
#include "launcher/launcher.h"
#include "tests/common/testfs.h"
#include "tests/common/bytemodel.h"
#include "tests/win/cbar_support.h"
#include "tests/win/testsupport.h"
#include "tests/win/testtree.h"

namespace {
class InstallBar : public CBarTest {
protected:
    void SetUp() override
    {
        CBarTest::SetUp();
        GetCurrentDirectoryA(sizeof saved_, saved_);
        base_ = exeDir() + "\\installbar_test";
        removeTree(base_);
        CreateDirectoryA(base_.c_str(), nullptr);
        sizes_ = buildMedia(base_ + "\\media");
        useTemp(base_ + "\\tmp");
        SetCurrentDirectoryA((base_ + "\\media").c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_);
        CBarTest::TearDown();
        if (!HasFailure())
            removeTree(base_);
    }
    char saved_[MAX_PATH];
    std::string base_;
    std::vector<size_t> sizes_;
};

// One event the watcher heard, and the window's answers when it asked.
struct Heard {
    HWND hwnd;
    long object, child, pos, low, high, index;
    std::string name;
};

// Released by the watcher once listening and once per event it has handled.
HANDLE watcherHandled;
bool watcherLate;  // an event it did not handle in time: the bar raised none

// Whether the watcher handled one more event, answering its questions meanwhile.
bool awaitWatcher()
{
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &watcherHandled, FALSE, 10000, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// After each new value a bar takes, holds this thread until the watcher has heard it
// and asked its questions, so that every answer is the value of its event: a screen
// reader that keeps up. A new bar starts at 0.
LRESULT CALLBACK keepStep(int code, WPARAM wParam, LPARAM lParam)
{
    static HWND bar;
    static int value;
    const CWPRETSTRUCT* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    char cls[32] = "";
    if (code == HC_ACTION && m->message == CBM_SETPERCENT &&
        GetClassNameA(m->hwnd, cls, sizeof cls) && std::string(cls) == "CBarControl") {
        if (m->hwnd != bar)
            value = 0;
        bar = m->hwnd;
        if (static_cast<int>(m->lParam) != value) {
            value = static_cast<int>(m->lParam);
            if (!watcherLate && !awaitWatcher())
                watcherLate = true;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// barwatch.exe in a process of its own, listening from construction to stop(), and
// kept in step with the bars of this thread meanwhile.
class Watcher {
public:
    explicit Watcher(const std::string& out) : out_(out)
    {
        const std::string name = "brakwatch" + std::to_string(GetCurrentProcessId());
        watcherHandled = CreateSemaphoreA(nullptr, 0, 100000, name.c_str());
        watcherLate = false;
        std::string cmd = "\"" + exeDir() + "\\barwatch.exe\" \"" + out + "\" " + name;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        started_ = watcherHandled &&
                   CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &si, &pi_) &&
                   WaitForSingleObject(watcherHandled, 30000) == WAIT_OBJECT_0;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, keepStep, nullptr, GetCurrentThreadId());
        started_ = started_ && hook_;
    }
    ~Watcher()
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        if (pi_.hProcess) {
            TerminateProcess(pi_.hProcess, 1);
            CloseHandle(pi_.hProcess);
            CloseHandle(pi_.hThread);
        }
        if (watcherHandled)
            CloseHandle(watcherHandled);
        watcherHandled = nullptr;
    }
    bool started() const { return started_; }
    // Ends the watcher and reads what it heard.
    std::vector<Heard> stop()
    {
        std::vector<Heard> heard;
        DWORD code = 1;
        PostThreadMessageA(pi_.dwThreadId, WM_QUIT, 0, 0);
        while (MsgWaitForMultipleObjects(1, &pi_.hProcess, FALSE, 30000, QS_ALLINPUT) ==
               WAIT_OBJECT_0 + 1)
            pump();
        GetExitCodeProcess(pi_.hProcess, &code);
        EXPECT_EQ(code, 0u) << "barwatch";
        FILE* f = std::fopen(out_.c_str(), "r");
        if (!f)
            return heard;
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            unsigned long hwnd;
            Heard h = {};
            int at = 0;
            if (std::sscanf(line, "%lx %ld %ld %ld %ld %ld %ld name=%n", &hwnd, &h.object,
                            &h.child, &h.pos, &h.low, &h.high, &h.index, &at) < 7 || at == 0)
                break;
            h.hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd));
            h.name.assign(line + at, std::strcspn(line + at, "\n"));
            heard.push_back(h);
        }
        std::fclose(f);
        return heard;
    }

private:
    std::string out_;
    PROCESS_INFORMATION pi_ = {};
    HHOOK hook_ = nullptr;
    bool started_ = false;
};

// Each value a bar went to, in order, as "hwnd:value": a new bar starts at 0.
std::vector<std::string> changes(const SentLog& log)
{
    std::vector<std::string> out;
    HWND last = nullptr;
    int value = 0;
    for (const Sent& s : log.sent) {
        if (s.message != CBM_SETPERCENT || s.cls != "CBarControl")
            continue;
        if (s.hwnd != last)
            value = 0;
        last = s.hwnd;
        if (static_cast<int>(s.lParam) != value) {
            value = static_cast<int>(s.lParam);
            out.push_back(std::to_string(reinterpret_cast<UINT_PTR>(s.hwnd)) + ":" +
                          std::to_string(value));
        }
    }
    return out;
}
}  // namespace

TEST_F(InstallBar, TwoInstallsShowTheByteModelsValuesThenTheRemovalSteps)
{
    numbytes = 5000;  // carried over from an earlier install
    int model = 5000;
    for (int install = 1; install <= 2; ++install) {
        SCOPED_TRACE(install);
        std::vector<int> shown;
        {
            SentLog log;
            ASSERT_TRUE(installGame());
            EXPECT_EQ(titleOf(openDialog()), "Please wait...Installing BK2 Demo!");
            shown = log.percents("bordlg");
        }
        CloseCompletionBar();
        // The second starts again at 0, with numbytes where the first left it.
        EXPECT_EQ(shown, percentsOf(byteModel(sizes_, model)));
        EXPECT_EQ(numbytes, model);
        ASSERT_GT(shown.size(), 10u);
        EXPECT_EQ(shown.front(), 0);
    }

    std::vector<int> removal;
    {
        SentLog log;
        killbrak();
        removal = log.percents("bordlg");
    }
    EXPECT_EQ(removal, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(openDialog(), nullptr);  // closed at its end
    EXPECT_FALSE(dirExists(dir0));
}

// What a screen reader hears of a whole cycle: an event at each value either bar
// goes to, and at each the bar's answers as a stock progress bar gives them.
TEST_F(InstallBar, AWatcherInAnotherProcessHearsEachValueAndTheBarsAnswers)
{
    Watcher watcher(base_ + "\\heard.txt");
    ASSERT_TRUE(watcher.started());
    SentLog log;
    ASSERT_TRUE(installGame());
    HWND installBar = barOf(openDialog());
    CloseCompletionBar();
    killbrak();
    const std::vector<Heard> heard = watcher.stop();
    EXPECT_FALSE(watcherLate) << "a new value the watcher did not hear of within 10 s";

    std::vector<std::string> got;
    int installs = 0, removals = 0;
    for (const Heard& h : heard) {
        got.push_back(std::to_string(reinterpret_cast<UINT_PTR>(h.hwnd)) + ":" +
                      std::to_string(h.pos));
        SCOPED_TRACE(got.back());
        EXPECT_EQ(h.object, OBJID_CLIENT);
        EXPECT_EQ(h.child, CHILDID_SELF);
        EXPECT_EQ(h.low, 0);
        EXPECT_EQ(h.high, 100);
        EXPECT_EQ(h.index, 65536 + 13);
        const bool install = h.hwnd == installBar;
        (install ? installs : removals)++;
        EXPECT_EQ(h.name, install ? "Please wait...Installing BK2 Demo!"
                                  : "Please Wait...Uninstalling BK2 Demo");
    }
    EXPECT_EQ(got, changes(log));
    EXPECT_GT(installs, 0);
    EXPECT_EQ(removals, 5);  // 20, 40, 60, 80, 100
}
