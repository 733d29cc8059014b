// Brakdemo.exe, the sample game: checks every file of the install in its
// working directory against FILES.TXT, shows the result and leaves the three
// files a real game makes beside itself.
#include <windows.h>

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
    char item[1100];  // wsprintfA writes 1024 bytes at most
    if (problems < kShownProblems) {
        wsprintfA(item, "\r\n%s: %s", path, what);
        appendText(Problems, sizeof Problems, item);
        wsprintfA(item, "; %s: %s", path, what);
        appendText(ProblemList, sizeof ProblemList, item);
    } else if (problems == kShownProblems) {
        appendText(Problems, sizeof Problems, "\r\n...");
        appendText(ProblemList, sizeof ProblemList, "; ...");
    }
}

HANDLE openToRead(const char* path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Size and CRC-32 of a file; false when it cannot be read to its end.
bool checksum(const char* path, uint32_t* crc, uint32_t* size)
{
    HANDLE f = openToRead(path);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    static unsigned char buf[65536];
    *crc = 0;
    uint64_t total = 0;
    DWORD n;
    bool ok;
    while ((ok = ReadFile(f, buf, sizeof buf, &n, nullptr) != 0) && n > 0) {
        *crc = crc32Update(*crc, buf, n);
        total += n;
    }
    CloseHandle(f);
    *size = static_cast<uint32_t>(total);
    return ok && total <= 0xFFFFFFFFu;
}

// Reads the list; returns its entry count or -1 with the reason in Result.
int readList(ListEntry* entries, int cap)
{
    static char text[32768];
    HANDLE f = openToRead(kListFile);
    if (f == INVALID_HANDLE_VALUE) {
        wsprintfA(Result, "%s is missing.", kListFile);
        return -1;
    }
    DWORD len = 0, n;
    bool ok = true;
    while (len < sizeof text &&
           (ok = ReadFile(f, text + len, sizeof text - len, &n, nullptr) != 0) && n > 0)
        len += n;
    CloseHandle(f);
    const bool whole = ok && len < sizeof text;  // a full buffer may not be the end
    int badLine = 0;
    const int count = whole ? parseList(text, len, entries, cap, &badLine) : -1;
    if (!whole)
        wsprintfA(Result, "%s cannot be read whole.", kListFile);
    else if (count < 0)
        wsprintfA(Result, "%s: line %d is not \"<crc32> <size> <path>\".", kListFile, badLine);
    return count;
}

// Every install entry but the list itself must be listed and match; the list
// counts as verified once it has been read.
void verify()
{
    static ListEntry entries[INSTALL_COUNT * 2];
    const int count = readList(entries, INSTALL_COUNT * 2);
    if (count < 0) {
        wsprintfA(ResultLine, "0 of %d files verified: ", INSTALL_COUNT);
        appendText(ResultLine, sizeof ResultLine, Result);
        return;
    }
    int verified = 0, problems = 0;
    for (const char* path : installManifest) {
        if (lstrcmpiA(path, kListFile) == 0) {
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
    wsprintfA(Result, "%d of %d files verified.", verified, INSTALL_COUNT);
    appendText(Result, sizeof Result, Problems);
    wsprintfA(ResultLine, "%d of %d files verified", verified, INSTALL_COUNT);
    appendText(ResultLine, sizeof ResultLine, ProblemList);
}

// The files a real game would leave beside itself; the removal expects them.
bool makeOwnFiles()
{
    bool ok = true;
    for (const char* name : kMadeFiles) {
        HANDLE f = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) {
            ok = false;
            continue;
        }
        char text[64];
        const DWORD len =
            static_cast<DWORD>(wsprintfA(text, "%s written by the sample game\r\n", name));
        DWORD written;
        const bool whole = WriteFile(f, text, len, &written, nullptr) && written == len;
        ok = CloseHandle(f) && whole && ok;
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
        lstrcpyA(dir, "?");
    char line[MAX_PATH * 3 + sizeof ResultLine] = "game: ";
    appendText(line, sizeof line, ResultLine);
    appendText(line, sizeof line, made ? "" : " (could not write its own files)");
    appendText(line, sizeof line, "; in ");
    appendText(line, sizeof line, dir);
    appendText(line, sizeof line, "; command line ");
    appendText(line, sizeof line, GetCommandLineA());
    appendReport(line);

    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_GAME), nullptr, GameDialogProc, 0);
    return 0;
}
