// The e2e fixture: folders, environment, the launcher's process and the robot.
#include "tests/e2e/scenario.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string binDir()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = '\0';
    return path;
}

std::string workDir()
{
    char name[64];
    const DWORD n = GetEnvironmentVariableA("BRAKTEST_WORK", name, sizeof name);
    return binDir() + "\\" + (n && n < sizeof name ? name : "work");
}

// ---- Robot -------------------------------------------------------------

Robot::Robot() : thread_(&Robot::run, this) {}

Robot::~Robot()
{
    stop_ = true;
    thread_.join();
}

std::vector<Seen> Robot::seen()
{
    std::lock_guard<std::mutex> g(lock_);
    return seen_;
}

std::vector<Seen> Robot::boxes()
{
    std::vector<Seen> out;
    for (const Seen& s : seen())
        if (s.kind == Seen::Box)
            out.push_back(s);
    return out;
}

std::vector<std::string> Robot::barTitles()
{
    std::vector<std::string> out;
    for (const Seen& s : seen())
        if (s.kind == Seen::Bar)
            out.push_back(s.title);
    return out;
}

namespace {
struct Found {
    std::vector<HWND> boxes, bars;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM lParam)
{
    Found* found = reinterpret_cast<Found*>(lParam);
    char cls[64] = "", title[128] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, title, sizeof title);
    if (!IsWindowVisible(hwnd))
        return TRUE;
    if (!strcmp(cls, "#32770") && !strcmp(title, "Brakkon 2"))
        found->boxes.push_back(hwnd);
    else if (!strcmp(cls, "bordlg"))
        found->bars.push_back(hwnd);
    return TRUE;
}
}  // namespace

void Robot::run()
{
    while (!stop_) {
        Found found;
        EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
        for (HWND box : found.boxes) {
            Seen s;
            s.kind = Seen::Box;
            s.ms = nowMs();
            s.title = "Brakkon 2";
            char text[256] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            s.text = text;
            s.owner = GetWindow(box, GW_OWNER);
            GetWindowThreadProcessId(box, &s.pid);
            // Press OK and wait until the box has gone, so that it is counted once.
            HWND ok = GetDlgItem(box, IDOK);
            PostMessageA(ok ? ok : box, ok ? BM_CLICK : WM_COMMAND, ok ? 0 : IDOK, 0);
            for (int i = 0; i < 300 && IsWindow(box) && IsWindowVisible(box); ++i)
                Sleep(10);
            s.goneMs = nowMs();
            std::lock_guard<std::mutex> g(lock_);
            seen_.push_back(s);
        }
        for (HWND bar : found.bars) {
            char title[128] = "";
            GetWindowTextA(bar, title, sizeof title);
            std::lock_guard<std::mutex> g(lock_);
            if (titles_[bar] == title)
                continue;
            titles_[bar] = title;
            Seen s;
            s.kind = Seen::Bar;
            s.ms = s.goneMs = nowMs();
            s.title = title;
            s.owner = GetWindow(bar, GW_OWNER);
            GetWindowThreadProcessId(bar, &s.pid);
            seen_.push_back(s);
        }
        Sleep(15);
    }
}

// ---- Scenario ----------------------------------------------------------

Scenario::Scenario(const std::string& name)
{
    const std::string work = workDir();
    CreateDirectoryA(work.c_str(), nullptr);
    dir = work + "\\" + name;
    removeTree(dir);
    media = dir + "\\media";
    tmp = dir + "\\tmp";
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA(media.c_str(), nullptr);
    CreateDirectoryA(tmp.c_str(), nullptr);
    for (const char* exe : {"brakstart.exe", "brakpass.exe"})
        CopyFileA((binDir() + "\\" + exe).c_str(), (media + "\\" + exe).c_str(), FALSE);
    setEnv("TMP", tmp);
    setEnv("TEMP", tmp);
    setEnv("BRAKTEST_DIR", dir);
    setEnv("BRAKTEST_RELAY", media + "\\brakpass.exe");
}

Scenario::~Scenario()
{
    if (launcherJob)
        CloseHandle(launcherJob);
    if (launcher_.hProcess) {
        if (WaitForSingleObject(launcher_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(launcher_.hProcess, 99);
        CloseHandle(launcher_.hProcess);
        CloseHandle(launcher_.hThread);
    }
    // Leave no double running into the next scenario.
    for (int i = 0; i < 50; ++i) {
        HWND w = FindWindowA("BrakTestDouble", nullptr);
        if (!w)
            break;
        PostMessageA(w, WM_CLOSE, 0, 0);
        Sleep(40);
    }
}

void Scenario::addDouble(const std::string& exeName, const std::string& destDir)
{
    const std::string to = (destDir.empty() ? media : destDir) + "\\" + exeName;
    CopyFileA((binDir() + "\\double.exe").c_str(), to.c_str(), FALSE);
}

void Scenario::script(const std::string& role, const std::string& text, int start)
{
    const std::string name =
        start ? role + "." + std::to_string(start) + ".script" : role + ".script";
    writeText(dir + "\\" + name, text);
}

void Scenario::setEnv(const std::string& name, const std::string& value)
{
    envSet_[name] = value;
}

void Scenario::unsetEnv(const std::string& name)
{
    envSet_.erase(name);
    envUnset_.push_back(name);
}

std::vector<char> Scenario::environmentBlock()
{
    // Wine takes TMP and TEMP from its own registry: they are set here, inside Windows.
    std::map<std::string, std::string> env;
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; *p; p += strlen(p) + 1) {
        const char* eq = strchr(p + 1, '=');
        if (eq)
            env[std::string(p, eq)] = eq + 1;
    }
    FreeEnvironmentStringsA(block);
    for (const std::string& name : envUnset_) {
        for (auto it = env.begin(); it != env.end();)
            it = _stricmp(it->first.c_str(), name.c_str()) ? std::next(it) : env.erase(it);
    }
    for (const auto& kv : envSet_) {
        for (auto it = env.begin(); it != env.end();)
            it = _stricmp(it->first.c_str(), kv.first.c_str()) ? std::next(it) : env.erase(it);
        env[kv.first] = kv.second;
    }
    std::vector<char> out;
    for (const auto& kv : env) {
        const std::string entry = kv.first + "=" + kv.second;
        out.insert(out.end(), entry.begin(), entry.end());
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

void Scenario::killLauncher()
{
    TerminateProcess(launcher_.hProcess, 1);
    WaitForSingleObject(launcher_.hProcess, 10000);
}

DWORD Scenario::runSecondLauncher(DWORD ms)
{
    HANDLE h = startFromMedia("brakstart.exe", "");
    if (!h)
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFF;
    if (WaitForSingleObject(h, ms) == WAIT_OBJECT_0)
        GetExitCodeProcess(h, &code);
    else
        TerminateProcess(h, 1);
    CloseHandle(h);
    return code;
}

bool Scenario::startLauncher(const std::string& exeDir, const std::string& cwd)
{
    if (launcher_.hProcess) {
        CloseHandle(launcher_.hProcess);
        CloseHandle(launcher_.hThread);
        endMs_ = 0;
    }
    const std::string exe = (exeDir.empty() ? media : exeDir) + "\\brakstart.exe";
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> env = environmentBlock();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    startMs_ = nowMs();
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE,
                        launcherJob ? CREATE_SUSPENDED : 0, env.data(),
                        (cwd.empty() ? media : cwd).c_str(), &si, &launcher_))
        return false;
    if (launcherJob) {
        const bool inJob = AssignProcessToJobObject(launcherJob, launcher_.hProcess) != 0;
        ResumeThread(launcher_.hThread);
        return inJob;
    }
    return true;
}

DWORD patient(DWORD ms)
{
    char v[16] = "";
    const DWORD n = GetEnvironmentVariableA("BRAKTEST_PATIENCE", v, sizeof v);
    const long f = n > 0 && n < sizeof v ? atol(v) : 1;
    return f > 1 ? ms * static_cast<DWORD>(f) : ms;
}

bool Scenario::waitLauncher(DWORD ms)
{
    if (WaitForSingleObject(launcher_.hProcess, patient(ms)) != WAIT_OBJECT_0)
        return false;
    if (!endMs_)
        endMs_ = nowMs();
    return true;
}

DWORD Scenario::launcherExitCode()
{
    DWORD code = 0;
    GetExitCodeProcess(launcher_.hProcess, &code);
    return code;
}

double Scenario::launcherSeconds()
{
    return (endMs_ - startMs_) / 1000.0;
}

HWND Scenario::launcherWindow()
{
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "BrakDemo", "BrakDemo")) != nullptr) {
        DWORD pid;
        GetWindowThreadProcessId(w, &pid);
        if (pid == launcher_.dwProcessId)
            return w;
    }
    return nullptr;
}

// A program of the media folder, started there with the scenario's environment;
// its process handle, or null.
HANDLE Scenario::startFromMedia(const std::string& exeName, const std::string& args)
{
    const std::string exe = media + "\\" + exeName;
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::vector<char> env = environmentBlock();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, env.data(),
                        media.c_str(), &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD Scenario::relay(const std::string& args)
{
    HANDLE h = startFromMedia("brakpass.exe", args);
    if (!h)
        return 0xFFFFFFFF;
    WaitForSingleObject(h, patient(10000));
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(h, &code);
    CloseHandle(h);
    return code;
}

void Scenario::relays(const std::vector<std::string>& args, size_t atOnce)
{
    std::vector<HANDLE> running;
    for (size_t i = 0; i <= args.size(); ++i) {
        if (running.size() == atOnce || i == args.size()) {
            for (HANDLE h : running) {
                WaitForSingleObject(h, patient(10000));
                CloseHandle(h);
            }
            running.clear();
        }
        if (i == args.size())
            break;
        if (HANDLE h = startFromMedia("brakpass.exe", args[i]))
            running.push_back(h);
    }
}

bool Scenario::startDouble(const std::string& exeName)
{
    addDouble(exeName);
    HANDLE h = startFromMedia(exeName, "");
    if (!h)
        return false;
    CloseHandle(h);
    return true;
}

std::vector<RoleEvent> Scenario::events(const std::string& role)
{
    std::vector<RoleEvent> out;
    const std::string log = readText(dir + "\\" + role + ".log");
    size_t pos = 0;
    while (pos < log.size()) {
        size_t end = log.find("\r\n", pos);
        if (end == std::string::npos)
            break;
        const std::string line = log.substr(pos, end - pos);
        pos = end + 2;
        RoleEvent e;
        const size_t s1 = line.find(' ');
        e.what = line.substr(0, s1);
        const std::string rest = line.substr(s1 + 1);
        const size_t s2 = rest.find(' ');
        e.ms = atoll(rest.substr(0, s2).c_str());
        e.value = 0;
        const std::string tail = s2 == std::string::npos ? "" : rest.substr(s2 + 1);
        if (e.what == "start") {
            const size_t bar = tail.find('|');
            e.cwd = tail.substr(0, bar);
            e.cmdline = tail.substr(bar + 1);
        } else {
            e.value = strtoll(tail.c_str(), nullptr, 10);
        }
        if (e.what == "ping") {  // "ping <elapsed>": no time stamp of its own
            e.value = e.ms;
            e.ms = 0;
        }
        out.push_back(e);
    }
    return out;
}

int Scenario::starts(const std::string& role)
{
    int n = 0;
    for (const RoleEvent& e : events(role))
        n += e.what == "start";
    return n;
}

bool Scenario::closeRole(const std::string& role)
{
    HWND w = FindWindowA("BrakTestDouble", role.c_str());
    return w && PostMessageA(w, WM_CLOSE, 0, 0);
}
