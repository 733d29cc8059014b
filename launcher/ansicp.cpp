// The ANSI code page's lead bytes, from the system.
#include "launcher/ansicp.h"

#include <windows.h>

const LeadBytes& ansiLeadBytes()
{
    static LeadBytes table;
    static bool filled = false;
    if (!filled) {
        for (int b = 0; b < 256; ++b)
            table.lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
        filled = true;
    }
    return table;
}
