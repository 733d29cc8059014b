// The sample media's scenario and the process list, for the two tools.
#include "tools/cycles/sampleplay.h"

#include <tlhelp32.h>

#include <cstring>

#include "tests/common/testfs.h"

const char* const kOurPrograms[5] = {"brakstart.exe", "brakpass.exe", "BK2DEMO.EXE",
                                     "Brakdemo.exe", "register.exe"};

void playSample(Scenario& s, int plays, int closeMs, const char* report)
{
    s.setEnv("BK2DEMO_AUTO", std::to_string(plays));
    s.setEnv("BK2DEMO_CLOSEMS", std::to_string(closeMs));
    s.setEnv("BK2DEMO_REPORT", s.dir + "\\" + report);
}

std::vector<std::string> reportLines(const Scenario& s, const char* prefix, const char* report)
{
    std::vector<std::string> out;
    const std::string text = readText(s.dir + "\\" + report);
    size_t pos = 0, end;
    while ((end = text.find('\n', pos)) != std::string::npos) {
        if (text.compare(pos, strlen(prefix), prefix) == 0)
            out.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

std::vector<std::string> running(const char* const* names, size_t count)
{
    std::vector<std::string> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return out;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof pe;
    for (BOOL more = Process32First(snap, &pe); more; more = Process32Next(snap, &pe))
        for (size_t i = 0; i < count; ++i)
            if (_stricmp(pe.szExeFile, names[i]) == 0)
                out.push_back(std::string(names[i]) + " " + std::to_string(pe.th32ProcessID));
    CloseHandle(snap);
    return out;
}

bool runs(const std::vector<std::string>& list, const char* name)
{
    for (const std::string& p : list)
        if (p.compare(0, strlen(name), name) == 0 && p[strlen(name)] == ' ')
            return true;
    return false;
}

bool waitNoneRunning(const char* const* names, size_t count, DWORD ms)
{
    const DWORD t0 = GetTickCount();
    while (!running(names, count).empty()) {
        if (GetTickCount() - t0 > ms)
            return false;
        Sleep(50);
    }
    return true;
}

void endOurs()
{
    for (const std::string& p : running(kOurPrograms, 5)) {
        const DWORD pid = strtoul(p.c_str() + p.find(' ') + 1, nullptr, 10);
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!h)
            continue;
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
        CloseHandle(h);
    }
}
