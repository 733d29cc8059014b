// The facts of the Windows we run on, asked once.
#include "launcher/laterapi.h"

const WinFacts& systemFacts()
{
    static WinFacts facts;
    static bool asked = false;
    if (!asked) {
        OSVERSIONINFOA v;
        ZeroMemory(&v, sizeof v);
        v.dwOSVersionInfoSize = sizeof v;
        // Fails only with a wrong size: then nothing is assumed to work.
        facts = GetVersionExA(&v) ? winFacts(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion)
                                  : winFacts(0, 0, 0);
        asked = true;
    }
    return facts;
}
