// The kernel calls newer than Windows 95 and NT 4.0, found at run time
// (common/imports.tsv says which and since when), and the facts of the
// Windows we run on. Where a call is missing, or the facts say it does not
// work there, its stand-in fails as a refused call would, and the caller
// takes its way without it.
#pragma once
#include <windows.h>

#include <tlhelp32.h>

#include "launcher/winfacts.h"

// From GetVersionExA, asked once.
const WinFacts& systemFacts();

// Job objects: all three calls, where the system has them.
bool jobsWork();
HANDLE createJob();  // unnamed, null where jobsWork() is false
BOOL setJobInformation(HANDLE job, JOBOBJECTINFOCLASS kind, void* info, DWORD size);
BOOL assignToJob(HANDLE job, HANDLE process);

// A completion port of its own (the job's notices), and its next notice.
HANDLE createPort();
BOOL portNotice(HANDLE port, DWORD* code, ULONG_PTR* key, LPOVERLAPPED* detail, DWORD ms);

// Toolhelp snapshots; INVALID_HANDLE_VALUE where there are none.
HANDLE snapshot(DWORD flags);
BOOL firstProcess(HANDLE snap, PROCESSENTRY32* pe);
BOOL nextProcess(HANDLE snap, PROCESSENTRY32* pe);
BOOL firstThread(HANDLE snap, THREADENTRY32* te);
BOOL nextThread(HANDLE snap, THREADENTRY32* te);

HANDLE openThread(DWORD access, DWORD tid);
BOOL processCreated(HANDLE process, FILETIME* created);

// Whether the two wide calls below work here.
bool wideCallsWork();
// The variable NAME in wide characters; 0 where wide calls do not work.
DWORD wideVariable(const wchar_t* name, wchar_t* buf, DWORD cap);
// Whether a and b are the same wide string; false where wide calls do not work.
bool sameWide(const wchar_t* a, const wchar_t* b);
