// The demo tree's folders kept to the player's account where Windows keeps
// access lists: made with a list that lets in the player, SYSTEM and
// Administrators only, inherited below; another account's folder is left alone.
#pragma once

// Whether what stands at path belongs to another account, or to an owner that
// cannot be read: the launcher must not use, enter or change it. False where
// nothing is there, or the system keeps no access lists.
bool foreignDir(const char* path);

// Makes the folder at path with the tree's list, or gives an existing one of
// the player's that list again. made: this call made it. False unless a usable
// folder of the player's (or, without access lists, any usable one) is there.
bool makePrivateDir(const char* path, bool* made);

// Gives the existing folder at path the tree's list again if it is the player's.
void keepDirPrivate(const char* path);
