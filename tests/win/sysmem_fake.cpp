// The test build's installed memory: whatever the test sets.
#include "sysmem_fake.h"

SIZE_T fakePhysicalMemory = 256u * 1024 * 1024;

SIZE_T totalPhysicalMemory()
{
    return fakePhysicalMemory;
}
