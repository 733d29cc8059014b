// The machine's installed memory, as the system reports it.
#include "launcher/sysmem.h"

SIZE_T totalPhysicalMemory()
{
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;  // 32 on i686
    GlobalMemoryStatus(&status);
    return status.dwTotalPhys;
}
