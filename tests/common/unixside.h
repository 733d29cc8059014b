// Wine's Unix side, for what a Windows program cannot do there: plant a
// symbolic link, mount a small file system, remove a tree without following
// the links in it.
#pragma once
#include <string>

// Where a Windows path lives on the Unix side; empty when not under Wine.
std::string unixPath(const std::string& win);
// Runs a shell command there; true when it ended with 0.
bool runUnix(const std::string& command);
