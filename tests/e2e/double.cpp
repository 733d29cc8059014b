// A scriptable stand-in for the outside programs the launcher starts: the
// front-end, the game and the follow-up program. Its role is its own file name.
//
// It appends "start <ms> <cwd>|<command line>" to <BRAKTEST_DIR>\<role>.log and
// runs <role>.<n>.script (n-th start) or <role>.script, one command a line:
//   sleep MS | at MS (since its start) | midtick (half-way between the launcher's ticks) |
//   relay ARGS | write PATH TEXT | hold PATH | tree FILE | ping |
//   listen (logs "listen <ms>", then "control <ms> <wParam>" for each control message) |
//   wait | exit CODE | spawn EXE | spawnaway EXE (out of its job) | readonly PATH |
//   busy MS (no messages; first, it keeps the program from ever being idle) | crash
// and ends with "exit <ms> <code>". Without "exit" it stays until closed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/ctlmsg.h"
#include "media/filelist.h"
#include "tests/e2e/wallclock.h"

namespace {
std::string dir;   // the scenario folder, from BRAKTEST_DIR
std::string role;  // bk2demo, brakdemo, register ...
bool closed;
DWORD startTick;
DWORD idleTick;  // its first wait for messages: when the launcher's idle wait returns
bool idleYet;
UINT listenFor;  // the control message, once "listen" has run

void logLine(const std::string& line)
{
    if (dir.empty())
        return;
    HANDLE h = CreateFileA((dir + "\\" + role + ".log").c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD done;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    CloseHandle(h);
}

std::string readFile(const std::string& path, bool* ok)
{
    std::string out;
    FILE* f = fopen(path.c_str(), "rb");
    *ok = f != nullptr;
    if (!f)
        return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    fclose(f);
    return out;
}

int startsSoFar()
{
    bool ok;
    const std::string log = readFile(dir + "\\" + role + ".log", &ok);
    int n = 0;
    for (size_t p = 0; (p = log.find("start ", p)) != std::string::npos; ++p)
        if (p == 0 || log[p - 1] == '\n')
            ++n;
    return n;
}

LRESULT CALLBACK DoubleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (listenFor && message == listenFor) {
        logLine("control " + std::to_string(nowMs()) + " " +
                std::to_string(static_cast<unsigned long long>(wParam)));
        return 0;
    }
    if (message == WM_CLOSE) {
        closed = true;
        DestroyWindow(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Every wait of this program is one for messages as well.
DWORD waitForInput(DWORD count, const HANDLE* handles, DWORD ms)
{
    if (!idleYet) {
        idleYet = true;
        idleTick = GetTickCount();
    }
    return MsgWaitForMultipleObjects(count, handles, FALSE, ms, QS_ALLINPUT);
}

// Waits while answering messages, so that the launcher's idle wait returns at once.
void pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD spent = GetTickCount() - start;
        if (closed || (ms != INFINITE && spent >= ms))
            return;
        waitForInput(0, nullptr, ms == INFINITE ? INFINITE : ms - spent);
    }
}

// Read wide: the relay's path may hold letters the narrow call cuts short.
std::wstring relayPath()
{
    wchar_t relay[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"BRAKTEST_RELAY", relay, MAX_PATH);
    return n && n < MAX_PATH ? relay : L"";
}

// Starts a program; waits for its end when asked.
void startProgram(const std::wstring& exe, const std::string& args, DWORD flags, bool wait)
{
    std::wstring cmd = L"\"" + exe + L"\"";
    for (char c : (args.empty() ? "" : " " + args))
        cmd += static_cast<wchar_t>(static_cast<unsigned char>(c));
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                        &si, &pi)) {
        logLine("nostart " + std::to_string(nowMs()) + " " + std::to_string(GetLastError()));
        return;
    }
    // A menu stays responsive while it waits; the launcher's idle wait, and
    // with it the phase of its ticks, would otherwise move with this start.
    while (wait && waitForInput(1, &pi.hProcess, INFINITE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
}

void runRelay(const std::string& args)
{
    const std::wstring relay = relayPath();
    if (!relay.empty())
        startProgram(relay, args, 0, true);
}

// A program beside the relay (in the media folder), in this one's current directory.
void spawn(const std::string& name, DWORD flags)
{
    std::wstring exe = relayPath();
    exe = exe.substr(0, exe.rfind(L'\\') + 1);
    for (char c : name)
        exe += static_cast<wchar_t>(c);
    startProgram(exe, "", flags, false);
}

void listTree(const std::string& base, const std::string& rel, std::string* out)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((base + (rel.empty() ? "" : "\\" + rel) + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = rel.empty() ? name : rel + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listTree(base, path, out);
            continue;
        }
        bool ok;
        const std::string data = readFile(base + "\\" + path, &ok);
        char line[64];
        snprintf(line, sizeof line, "%lu %08lx ", static_cast<unsigned long>(data.size()),
                 static_cast<unsigned long>(crc32Update(0, data.data(), data.size())));
        *out += line + path + "\r\n";
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

int runScript(const std::string& text)
{
    std::vector<HANDLE> held;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t sp = line.find(' ');
        const std::string cmd = line.substr(0, sp);
        const std::string arg = sp == std::string::npos ? "" : line.substr(sp + 1);
        if (cmd == "sleep") {
            pump(static_cast<DWORD>(atol(arg.c_str())));
        } else if (cmd == "at") {
            const DWORD due = static_cast<DWORD>(atol(arg.c_str()));
            const DWORD spent = GetTickCount() - startTick;
            if (spent < due)
                pump(due - spent);
        } else if (cmd == "midtick") {
            // Half-way between two ticks of the launcher's 3 s timer, which it
            // sets once this program is idle: 1.5 s plus a multiple of 3 s
            // from then. A slow machine takes long from its start to there.
            const DWORD spent = idleYet ? GetTickCount() - idleTick : 0;
            pump((3000 - (spent + 1500) % 3000) % 3000);
        } else if (cmd == "relay") {
            runRelay(arg);
        } else if (cmd == "write") {
            const size_t s2 = arg.find(' ');
            FILE* f = fopen(arg.substr(0, s2).c_str(), "wb");
            if (f) {
                if (s2 != std::string::npos)
                    fputs(arg.substr(s2 + 1).c_str(), f);
                fclose(f);
            }
        } else if (cmd == "hold") {
            held.push_back(CreateFileA(arg.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                       nullptr));
        } else if (cmd == "tree") {
            char cwd[MAX_PATH];
            GetCurrentDirectoryA(sizeof cwd, cwd);
            std::string listing;
            listTree(cwd, "", &listing);
            FILE* f = fopen(arg.c_str(), "wb");
            if (f) {
                fwrite(listing.data(), 1, listing.size(), f);
                fclose(f);
            }
        } else if (cmd == "spawn") {
            spawn(arg, 0);
        } else if (cmd == "spawnaway") {
            spawn(arg, CREATE_BREAKAWAY_FROM_JOB);
        } else if (cmd == "readonly") {
            SetFileAttributesA(arg.c_str(), FILE_ATTRIBUTE_READONLY);
        } else if (cmd == "busy") {
            Sleep(static_cast<DWORD>(atol(arg.c_str())));
        } else if (cmd == "crash") {
            logLine("exit " + std::to_string(nowMs()) + " -1073741819");
            TerminateProcess(GetCurrentProcess(), 0xC0000005);  // an access violation's code
        } else if (cmd == "ping") {
            // How long a message sent to every top-level window takes to be answered.
            const long long t0 = nowMs();
            DWORD_PTR result;
            SendMessageTimeoutA(HWND_BROADCAST, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
            logLine("ping " + std::to_string(nowMs() - t0));
        } else if (cmd == "listen") {
            listenFor = RegisterWindowMessageA(BRAK_CTLMSG_NAME);
            logLine("listen " + std::to_string(nowMs()));
        } else if (cmd == "wait") {
            pump(INFINITE);
        } else if (cmd == "exit") {
            return atoi(arg.c_str());
        }
        if (closed)
            break;
    }
    pump(INFINITE);
    return 0;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    startTick = GetTickCount();
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char* base = strrchr(path, '\\');
    role = base ? base + 1 : path;
    role = role.substr(0, role.rfind('.'));
    for (char& c : role)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    char value[MAX_PATH];
    if (GetEnvironmentVariableA("BRAKTEST_DIR", value, sizeof value))
        dir = value;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = DoubleProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "BrakTestDouble";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, role.c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                    nullptr, hInstance, nullptr);

    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    logLine("start " + std::to_string(nowMs()) + " " + cwd + "|" + GetCommandLineA());

    bool ok = false;
    std::string script;
    if (!dir.empty()) {
        script = readFile(dir + "\\" + role + "." + std::to_string(startsSoFar()) + ".script", &ok);
        if (!ok)
            script = readFile(dir + "\\" + role + ".script", &ok);
    }
    if (script.compare(0, 5, "busy ") != 0)
        pump(0);
    const int code = runScript(script);
    logLine("exit " + std::to_string(nowMs()) + " " + std::to_string(code));
    return code;
}
