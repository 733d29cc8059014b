// Files of the demo tree, never reached through a link planted in a leftover tree.
#pragma once
#include <windows.h>

// Whether something stands at path that leads elsewhere: a reparse point, or a
// name that resolves outside its own directory (a symbolic link to a file).
bool isLinkedElsewhere(const char* path);

// A new, empty file at path for writing. An existing file there is deleted
// first, never opened, so a hard link's other names keep their data; a link
// that leads elsewhere is left alone and the call fails with
// ERROR_REPARSE_TAG_MISMATCH.
HANDLE createFresh(const char* path);
