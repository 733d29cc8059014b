// File-system helpers shared by the Wine test programs.
#pragma once
#include <windows.h>

#include <string>

bool fileExists(const std::string& path);
bool dirExists(const std::string& path);
std::string readText(const std::string& path);
void writeText(const std::string& path, const std::string& text);
// Removes a folder with everything in it, read-only entries included.
void removeTree(const std::string& path);
