// Starting and watching the front-end: the test double stands in as BK2DEMO.EXE
// beside this test program, where the launcher's program search looks first.
#include <gtest/gtest.h>

#include <string>

#include "launcher/launcher.h"
#include "tests/common/testfs.h"
#include "tests/win/testsupport.h"

namespace {
// Handles a start of BK2DEMO.EXE leaves behind when everything it returned is
// closed: 0 on Windows; Wine's WaitForInputIdle keeps one per call on a GUI
// program, which this measures so that only the launcher's own are counted.
int handlesLeftByTheSystem(const std::string& exe)
{
    const int before = openHandles();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::string cmd = exe;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return 0;
    WaitForInputIdle(pi.hProcess, 15000);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return openHandles() - before;
}

class FrontEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = exeDir() + "\\frontend_test";
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* f : {"bk2demo.log", "bk2demo.script", "bk2demo.1.script",
                              "bk2demo.2.script", "bk2demo.3.script"})
            DeleteFileA((dir_ + "\\" + f).c_str());
        SetEnvironmentVariableA("BRAKTEST_DIR", dir_.c_str());
        processInfo = PROCESS_INFORMATION{};
        DemoQuit = RunProgram = TimerCount = 0;
    }
    void TearDown() override
    {
        for (DWORD pid : started_) {
            HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
            if (h) {
                TerminateProcess(h, 0);
                CloseHandle(h);
            }
        }
        SetEnvironmentVariableA("BRAKTEST_DIR", nullptr);
    }
    void script(const char* text, int start = 0)
    {
        const std::string name = start ? "bk2demo." + std::to_string(start) + ".script"
                                       : std::string("bk2demo.script");
        writeText(dir_ + "\\" + name, text);
    }
    std::string dir_;
    std::vector<DWORD> started_;
};
}  // namespace

TEST_F(FrontEnd, StartingAgainReleasesTheEarlierHandles)
{
    script("exit 0\n", 1);
    script("exit 0\n", 2);
    script("wait\n", 3);
    RunProgram = 1;
    TimerCount = 5;
    startDemo();
    const PROCESS_INFORMATION first = processInfo;
    ASSERT_NE(first.hProcess, nullptr) << "BK2DEMO.EXE beside the test program";
    EXPECT_EQ(RunProgram, 0);
    EXPECT_EQ(TimerCount, 0);
    ASSERT_EQ(WaitForSingleObject(first.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ExistProcess(&processInfo), 0);

    // Counted from the second start on: the first one also opens what the
    // system keeps for every later start.
    startDemo();
    ASSERT_EQ(WaitForSingleObject(processInfo.hProcess, 10000), WAIT_OBJECT_0);
    const int systemLeak = handlesLeftByTheSystem(exeDir() + "\\BK2DEMO.EXE");
    const int before = openHandles();
    startDemo();
    started_.push_back(processInfo.dwProcessId);
    EXPECT_NE(processInfo.dwProcessId, first.dwProcessId);
    EXPECT_EQ(ExistProcess(&processInfo), 1);
    EXPECT_EQ(DemoQuit, 0);
    // The new front-end's two handles came in, the earlier one's two went.
    EXPECT_EQ(openHandles() - before, systemLeak)
        << "the system itself leaves " << systemLeak << " (Wine's WaitForInputIdle)";
}

TEST_F(FrontEnd, ExitCodeOfStillActiveIsNotRunning)
{
    script("exit 259\n");
    startDemo();
    ASSERT_NE(processInfo.hProcess, nullptr);
    ASSERT_EQ(WaitForSingleObject(processInfo.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(processInfo.hProcess, &code);
    EXPECT_EQ(code, 259u);
    EXPECT_EQ(ExistProcess(&processInfo), 0);
}

TEST_F(FrontEnd, NeverStartedIsNotRunning)
{
    EXPECT_EQ(ExistProcess(&processInfo), 0);
}
