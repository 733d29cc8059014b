// The game's files: what the install copies and what the removal deletes.
#pragma once
#include <cstddef>

// Relative to the media directory and to the demo root alike, in copy order:
// 5 root entries, 41 under DEMODATA\, 20 under SIM\, 6 under SIM\LAUNCH\.
enum { INSTALL_COUNT = 72 };
extern const char* const installManifest[INSTALL_COUNT];

// Relative to dir0 .. dir3; the install's groups without their prefix, in the
// same order, plus three names the game makes in the root.
enum { REMOVE_ROOT = 8, REMOVE_DEMODATA = 41, REMOVE_SIM = 20, REMOVE_LAUNCH = 6 };
extern const char* const removeRoot[REMOVE_ROOT];
extern const char* const removeDemodata[REMOVE_DEMODATA];
extern const char* const removeSim[REMOVE_SIM];
extern const char* const removeLaunch[REMOVE_LAUNCH];

// The longest install entry, in characters: the deepest path the play cycle
// builds is dir0 + "\" + this one.
size_t longestInstallEntry();
