// What the Windows we run on can do, from the version it reports: the one
// place where 95, 98 and ME part from NT, and NT 4.0 from 2000 and later.
#pragma once

// GetVersionExA's platform ids.
enum { PLATFORM_9X = 1, PLATFORM_NT = 2 };

struct WinFacts {
    bool wideCalls;       // the W functions work (9x exports most as stubs that fail)
    bool jobs;            // job objects (2000)
    bool toolhelp;        // process and thread snapshots (95, 2000; not NT 4.0)
    bool openThread;      // OpenThread (ME, 2000)
    bool processTimes;    // GetProcessTimes works (NT only)
    bool localNamespace;  // "Local\" in kernel object names (2000); 9x refuses a backslash
    bool acls;            // file systems with ACLs and security calls that work (NT only)
};

// The facts for what GetVersionExA reports. A platform neither 9x nor NT is
// taken for 9x: nothing there is assumed to work.
WinFacts winFacts(unsigned long platform, unsigned long major, unsigned long minor);
