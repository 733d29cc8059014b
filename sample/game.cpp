// Brakdemo.exe, the sample game: checks every file of the install in its
// working directory against FILES.TXT, shows the result and leaves the three
// files a real game makes beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/dllsafety.h"
#include "launcher/manifest.h"
#include "media/filelist.h"
#include "sample/resource.h"
#include "sample/sampleapp.h"

namespace {
const char kListFile[] = "FILES.TXT";
const char* const kMadeFiles[] = {"BRAKDEMO.PRM", "BRAKDEMO.RUN", "BRAKDEMO.BWD"};
const UINT_PTR kCloseTimer = 1;
const UINT kCloseMs = 15000;
const int kShownProblems = 8;

char Result[1024];     // what the window shows
char ResultLine[640];  // what the report gets
char Problems[768];    // the first few mismatches, one a line
char ProblemList[512]; // the same, for the report's single line

void addProblem(int problems, const char* what, const char* path)
{
    const size_t used = strlen(Problems);
    const size_t listed = strlen(ProblemList);
    if (problems < kShownProblems) {
        snprintf(Problems + used, sizeof Problems - used, "\r\n%s: %s", path, what);
        snprintf(ProblemList + listed, sizeof ProblemList - listed, "; %s: %s", path, what);
    } else if (problems == kShownProblems) {
        snprintf(Problems + used, sizeof Problems - used, "\r\n...");
        snprintf(ProblemList + listed, sizeof ProblemList - listed, "; ...");
    }
}

// Size and CRC-32 of a file; false when it cannot be read to its end.
bool checksum(const char* path, uint32_t* crc, uint32_t* size)
{
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    static unsigned char buf[65536];
    *crc = 0;
    uint64_t total = 0;
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
        *crc = crc32Update(*crc, buf, n);
        total += n;
    }
    const bool ok = !ferror(f) && total <= 0xFFFFFFFFu;
    fclose(f);
    *size = static_cast<uint32_t>(total);
    return ok;
}

// Reads the list; returns its entry count or -1 with the reason in Result.
int readList(ListEntry* entries, int cap)
{
    static char text[32768];
    FILE* f = fopen(kListFile, "rb");
    if (!f) {
        snprintf(Result, sizeof Result, "%s is missing.", kListFile);
        return -1;
    }
    const size_t len = fread(text, 1, sizeof text, f);
    const bool whole = !ferror(f) && feof(f);
    fclose(f);
    int badLine = 0;
    const int count = whole ? parseList(text, len, entries, cap, &badLine) : -1;
    if (!whole)
        snprintf(Result, sizeof Result, "%s cannot be read whole.", kListFile);
    else if (count < 0)
        snprintf(Result, sizeof Result, "%s: line %d is not \"<crc32> <size> <path>\".",
                 kListFile, badLine);
    return count;
}

// Every install entry but the list itself must be listed and match; the list
// counts as verified once it has been read.
void verify()
{
    static ListEntry entries[INSTALL_COUNT * 2];
    const int count = readList(entries, INSTALL_COUNT * 2);
    if (count < 0) {
        snprintf(ResultLine, sizeof ResultLine, "0 of %d files verified: %s", INSTALL_COUNT,
                 Result);
        return;
    }
    int verified = 0, problems = 0;
    for (const char* path : installManifest) {
        if (_stricmp(path, kListFile) == 0) {
            ++verified;
            continue;
        }
        const ListEntry* expected = findListEntry(entries, count, path);
        uint32_t crc, size;
        const char* problem = nullptr;
        if (!expected)
            problem = "not listed";
        else if (!checksum(path, &crc, &size))
            problem = "missing or unreadable";
        else if (size != expected->size)
            problem = "wrong size";
        else if (crc != expected->crc)
            problem = "wrong checksum";
        if (problem)
            addProblem(problems++, problem, path);
        else
            ++verified;
    }
    snprintf(Result, sizeof Result, "%d of %d files verified.%s", verified, INSTALL_COUNT,
             Problems);
    snprintf(ResultLine, sizeof ResultLine, "%d of %d files verified%s", verified, INSTALL_COUNT,
             ProblemList);
}

// The files a real game would leave beside itself; the removal expects them.
bool makeOwnFiles()
{
    bool ok = true;
    for (const char* name : kMadeFiles) {
        FILE* f = fopen(name, "wb");
        const bool written = f && fprintf(f, "%s written by the sample game\r\n", name) > 0;
        ok = f && fclose(f) == 0 && written && ok;
    }
    return ok;
}

INT_PTR CALLBACK GameDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(hDlg, IDC_RESULT, Result);
        SetTimer(hDlg, kCloseTimer, autoMode() ? autoCloseMs() : kCloseMs, nullptr);
        return TRUE;
    }
    return endsOnTimerOrButton(hDlg, message, wParam) ? TRUE : FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    restrictDllSearch();
    verify();
    const bool made = makeOwnFiles();

    char dir[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    if (n == 0 || n >= sizeof dir)
        strcpy(dir, "?");
    char line[MAX_PATH * 3 + sizeof ResultLine];
    snprintf(line, sizeof line, "game: %s%s; in %s; command line %s", ResultLine,
             made ? "" : " (could not write its own files)", dir, GetCommandLineA());
    appendReport(line);

    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_GAME), nullptr, GameDialogProc, 0);
    return 0;
}
