// A stand-in game for the play-cycle tests: notes who it is, where it runs and
// how it was called, then runs until the test lets it go.
#include <windows.h>

#include <cstdio>

int main()
{
    char log[MAX_PATH], self[MAX_PATH], cwd[MAX_PATH];
    if (GetEnvironmentVariableA("BRAKTEST_LOG", log, sizeof log) - 1 >= sizeof log - 1)
        return 1;
    GetModuleFileNameA(nullptr, self, sizeof self);
    GetCurrentDirectoryA(sizeof cwd, cwd);
    if (FILE* f = std::fopen(log, "a")) {
        std::fprintf(f, "%lu|%s|%s|%s\n", GetCurrentProcessId(), self, cwd, GetCommandLineA());
        std::fclose(f);
    }
    HANDLE end = CreateEventA(nullptr, TRUE, FALSE, "BrakPlayTestGameEnd");
    WaitForSingleObject(end, 30000);
    return 0;
}
