// Starting and watching the front-end: the test double stands in as BK2DEMO.EXE
// beside this test program, where the launcher's program search looks first.
#include <gtest/gtest.h>

#include <string>

#include "launcher/launcher.h"

namespace {
std::string here()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

// Windows frees an ended process once its last handle is closed, so that
// OpenProcess on its id fails; Wine keeps it openable.
bool endedProcessFreedWithLastHandle()
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    char cmd[] = "cmd.exe /c exit 0";
    if (!CreateProcessA(nullptr, cmd, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    HANDLE probe = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pi.dwProcessId);
    if (probe)
        CloseHandle(probe);
    return probe == nullptr;
}

class FrontEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = here() + "\\frontend_test";
        CreateDirectoryA(dir_.c_str(), nullptr);
        for (const char* f : {"bk2demo.log", "bk2demo.script", "bk2demo.1.script",
                              "bk2demo.2.script"})
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
        HANDLE h = CreateFileA((dir_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        DWORD n;
        WriteFile(h, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
        CloseHandle(h);
    }
    std::string dir_;
    std::vector<DWORD> started_;
};
}  // namespace

TEST_F(FrontEnd, StartingAgainReleasesTheEarlierHandles)
{
    script("exit 0\n", 1);
    script("wait\n", 2);
    RunProgram = 1;
    TimerCount = 5;
    startDemo();
    const PROCESS_INFORMATION first = processInfo;
    ASSERT_NE(first.hProcess, nullptr) << "BK2DEMO.EXE beside the test program";
    EXPECT_EQ(RunProgram, 0);
    EXPECT_EQ(TimerCount, 0);
    ASSERT_EQ(WaitForSingleObject(first.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(ExistProcess(&processInfo), 0);

    // An ended process lives on as an object while a handle to it is open.
    HANDLE probe = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, first.dwProcessId);
    ASSERT_NE(probe, nullptr);
    CloseHandle(probe);

    startDemo();
    started_.push_back(processInfo.dwProcessId);
    EXPECT_NE(processInfo.dwProcessId, first.dwProcessId);
    EXPECT_EQ(ExistProcess(&processInfo), 1);
    EXPECT_EQ(DemoQuit, 0);
    if (!endedProcessFreedWithLastHandle())
        GTEST_SKIP() << "Wine keeps an ended process openable after its last handle is closed";
    probe = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, first.dwProcessId);
    EXPECT_EQ(probe, nullptr) << "the earlier front-end's handles were kept";
    if (probe)
        CloseHandle(probe);
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
