// What a process holds, as far as Wine tells another process: kernel handles,
// windows, and its resident memory as the Unix side sees it. -1: unknown.
// Wine 8 has no way to count its GDI objects from outside: GetGuiResources
// returns 0 and the PEB's GdiSharedHandleTable is null.
#pragma once
#include <windows.h>

#include <string>

long handleCount(DWORD pid);
// The kinds of object pid holds handles to, with counts: "Event 12, File 3".
std::string handleKinds(DWORD pid);
// Top-level and child windows: the only USER objects Wine lets another process count.
long windowCount(DWORD pid);
// The Unix process id of the one Wine process of this prefix with this name, or "".
std::string unixPidOf(const std::string& name, const std::string& workDir);
long residentKb(const std::string& unixPid);
