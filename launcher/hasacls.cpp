// Told by the version Windows reports: its high bit is set on 95, 98 and Me.
#include "launcher/hasacls.h"

#include <windows.h>

bool systemHasAcls()
{
    return (GetVersion() & 0x80000000u) == 0;
}
