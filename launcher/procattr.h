// The attribute-list calls of process creation, which the launcher looks up
// at run time (Windows before Vista lacks them). A link seam: the launcher
// links procattr.cpp; a test build links one that can act as an older
// Windows and end the launcher in the middle of a start.
#pragma once
#include <windows.h>

// As winbase.h declares them from Vista on; our build targets XP.
typedef struct ProcThreadAttrList* ProcThreadAttrs;
typedef BOOL(WINAPI* InitAttrsFn)(ProcThreadAttrs, DWORD, DWORD, SIZE_T*);
typedef BOOL(WINAPI* UpdateAttrFn)(ProcThreadAttrs, DWORD, DWORD_PTR, void*, SIZE_T, void*,
                                   SIZE_T*);
typedef void(WINAPI* DeleteAttrsFn)(ProcThreadAttrs);

struct StartupInfoExA {
    STARTUPINFOA StartupInfo;
    ProcThreadAttrs lpAttributeList;
};

const DWORD EXTENDED_STARTUP_INFO = 0x00080000;  // EXTENDED_STARTUPINFO_PRESENT
const DWORD_PTR ATTRIBUTE_JOB_LIST = 0x0002000D;  // PROC_THREAD_ATTRIBUTE_JOB_LIST, Windows 10

struct ProcAttrApi {
    InitAttrsFn init;  // each null where the system lacks it
    UpdateAttrFn update;
    DeleteAttrsFn remove;
};

ProcAttrApi procAttrApi();

// Between a child's creation and the moment it may run unwatched: nothing in
// the launcher; a test build may end the launcher here.
void childCreated();
