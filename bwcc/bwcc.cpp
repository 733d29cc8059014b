// Registration of the stand-in custom-control library.
#include "bwcc/bwcc.h"

BOOL WINAPI BWCCRegister(HINSTANCE)
{
    return TRUE;
}

WORD WINAPI BWCCGetVersion()
{
    return 0x0200;
}
