// The entry of what ships, in place of the toolchain's start-up, which is built
// for newer processors and needs msvcrt.dll: WinMain's arguments from KERNEL32.
#include <windows.h>

#include "relay/relayargs.h"

// Windows enters with the stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup()
{
    // The toolchain's start-up left the x87 unit at full precision; the
    // install's percent is checked under both, and ships as it was tested.
    __asm__ volatile("fninit");
    STARTUPINFOA si;
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
    char* tail = const_cast<char*>(commandTail(GetCommandLineA()));
    ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, tail, show)));
}
