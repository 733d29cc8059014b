// One e2e scenario: a fresh media folder and temporary folder, the real
// brakstart.exe and brakpass.exe, the test double under the outside programs'
// names, and a robot that answers warning boxes.
#pragma once
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/testfs.h"
#include "tests/e2e/wallclock.h"

// An upper bound on a wait, stretched by the whole factor BRAKTEST_PATIENCE
// where every program start is slow (an emulated machine); 0 stays 0.
DWORD patient(DWORD ms);

// What the robot saw: a warning box (pressed OK) or a completion-bar caption.
struct Seen {
    enum Kind { Box, Bar } kind;
    long long ms;       // wall clock, comparable with the doubles' logs
    long long goneMs;   // a box: when it had gone after OK was pressed
    std::string title;  // the window's caption
    std::string text;   // a box's message
    HWND owner;         // a box's owner window
    DWORD pid;          // the process that shows it
};

// A line of a double's log: "start" (cwd, command line), "exit" (code), "ping" or
// "control" (a control message it received).
struct RoleEvent {
    std::string what;
    long long ms;
    std::string cwd;      // start
    std::string cmdline;  // start
    long long value;      // exit code, ping time, a control message's wParam
};

class Robot {
public:
    Robot();
    ~Robot();
    std::vector<Seen> seen();
    std::vector<Seen> boxes();
    std::vector<std::string> barTitles();

private:
    void run();
    std::mutex lock_;
    std::vector<Seen> seen_;
    std::map<HWND, std::string> titles_;
    volatile bool stop_ = false;
    std::thread thread_;
};

class Scenario {
public:
    explicit Scenario(const std::string& name);
    ~Scenario();

    std::string dir;    // the scenario folder (logs, scripts)
    std::string media;  // where brakstart.exe and the programs are
    std::string tmp;    // given as TMP and TEMP unless changed

    // Copies the test double into the media folder (or dest) under this name.
    void addDouble(const std::string& exeName, const std::string& destDir = "");
    // The script for a role; start 0 means every start, n the n-th one only.
    void script(const std::string& role, const std::string& text, int start = 0);
    void setEnv(const std::string& name, const std::string& value);
    void unsetEnv(const std::string& name);

    // A job the launcher is started in, when set (none allows breaking away).
    HANDLE launcherJob = nullptr;
    // Starts brakstart.exe from the media folder (or another one) with cwd.
    bool startLauncher(const std::string& exeDir = "", const std::string& cwd = "");
    // Waits for the launcher to end; true if it did within ms.
    bool waitLauncher(DWORD ms);
    DWORD launcherExitCode();
    double launcherSeconds();  // from its start to its end
    DWORD launcherPid() const { return launcher_.dwProcessId; }
    HWND launcherWindow();     // its hidden main window
    long long launcherStartMs() const { return startMs_; }
    long long launcherEndMs() const { return endMs_; }
    // Ends the launcher as Task Manager would, and waits for that.
    void killLauncher();
    // Starts another launcher like the first; its exit code, or ~0 if it ran on past ms.
    DWORD runSecondLauncher(DWORD ms);

    // Runs brakpass.exe with this argument text and waits for it; its exit code.
    DWORD relay(const std::string& args);
    // Runs the relay once per argument text, so many at a time, and waits for all.
    void relays(const std::vector<std::string>& args, size_t atOnce);
    // Starts the test double under this name outside the launcher; false if
    // it did not start. Its log tells when it is ready.
    bool startDouble(const std::string& exeName);

    std::vector<RoleEvent> events(const std::string& role);
    int starts(const std::string& role);
    // Closes a running double of this role (its hidden window gets WM_CLOSE).
    bool closeRole(const std::string& role);
    // Polls until pred holds or ms pass.
    template <class Pred> bool waitFor(Pred pred, DWORD ms)
    {
        ms = patient(ms);
        const DWORD t0 = GetTickCount();
        while (!pred()) {
            if (GetTickCount() - t0 > ms)
                return false;
            Sleep(25);
        }
        return true;
    }

    Robot robot;

private:
    std::vector<char> environmentBlock();
    HANDLE startFromMedia(const std::string& exeName, const std::string& args);
    std::map<std::string, std::string> envSet_;
    std::vector<std::string> envUnset_;
    PROCESS_INFORMATION launcher_ = {};
    long long startMs_ = 0;
    long long endMs_ = 0;
};

// Shared helpers.
std::string binDir();  // where the test program and the built programs are
// Where the scenarios' folders are made: binDir()\work, or the folder
// BRAKTEST_WORK names there, for a run beside another of the same rows.
std::string workDir();
