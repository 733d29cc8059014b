// What the kill campaign and the soak share: a scenario that plays the sample
// media in automatic mode, our programs in the process list, and the lines
// the sample programs report.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/scenario.h"

// The programs a cycle runs, as the process list names them.
extern const char* const kOurPrograms[5];

// Sets the scenario up to play the sample media: the menu plays plays times,
// the game and the follow-up close after closeMs, and every program the
// launcher starts reports to the file of this name in the scenario's folder.
void playSample(Scenario& s, int plays, int closeMs, const char* report = "report.txt");
// Lines of that report that begin with prefix.
std::vector<std::string> reportLines(const Scenario& s, const char* prefix,
                                     const char* report = "report.txt");

// Running processes with one of these names (any case), each as "name pid".
std::vector<std::string> running(const char* const* names, size_t count);
// Whether one of the names runs, in a list running() gave.
bool runs(const std::vector<std::string>& list, const char* name);
// Waits up to ms for none of the names to run; true when none does.
bool waitNoneRunning(const char* const* names, size_t count, DWORD ms);
// Ends every program of ours still running.
void endOurs();
