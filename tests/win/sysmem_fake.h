// Lets a test decide how much memory the launcher believes the machine has.
#pragma once
#include "launcher/sysmem.h"

extern SIZE_T fakePhysicalMemory;  // 256 MB unless a test changes it
