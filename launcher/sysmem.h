// The machine's installed memory. A link seam: the launcher links the real
// query (sysmem.cpp), tests link a version whose value they set.
#pragma once
#include <windows.h>

SIZE_T totalPhysicalMemory();
