// Files of the demo tree, never reached through a link planted in a leftover tree.
#pragma once
#include <windows.h>

#include "launcher/prepcore.h"

// Whether something stands at path that leads elsewhere: a reparse point, or a
// name that resolves outside its own directory (a symbolic link to a file).
bool isLinkedElsewhere(const char* path);

// A new, empty file at path for writing. An existing file there is deleted
// first, never opened, so a hard link's other names keep their data; a link
// that leads elsewhere is left alone and the call fails with
// ERROR_REPARSE_TAG_MISMATCH.
HANDLE createFresh(const char* path);

// Which of the demo directories (T\BK2DEMO, DEMODATA, SIM, SIM\LAUNCH) may be
// worked in: a path is set, and neither it nor a directory of the tree above
// it leads elsewhere or is another account's. A directory that is not there
// yet is safe.
void safeTreeDirs(const char* const dirs[DEMO_DIRS], bool safe[DEMO_DIRS]);
