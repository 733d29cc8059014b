// The Windows versions' facts.
#include "launcher/winfacts.h"

WinFacts winFacts(unsigned long platform, unsigned long major, unsigned long minor)
{
    if (platform != PLATFORM_NT) {
        // 95 is 4.0, 98 4.10, ME 4.90.
        const bool me = major > 4 || (major == 4 && minor >= 90);
        return {false, false, true, me, false, false, false};
    }
    const bool w2k = major >= 5;
    return {true, w2k, w2k, w2k, true, w2k, true};
}
