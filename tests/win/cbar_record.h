// A recording completion bar for the play-cycle tests: each call with what the
// install counters held at that moment.
#pragma once
#include <string>
#include <vector>

#include <windows.h>

struct BarCall {
    char kind;  // 'O' open, 'S' set, 'C' close
    std::string title;
    int percent;
    double copied;  // total_copied when the call came
    HCURSOR cursor;
};

extern std::vector<BarCall> barCalls;
// Called at every set, after recording: lets a test look at the tree then.
extern void (*onBarSet)(int percent);
