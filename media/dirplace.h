// Moves each Joliet directory of an image beside the files that first need
// it, so that a drive looking a directory up does not seek away from the
// start's reads. mkimage.sh leaves a hidden slot for each directory where it
// wants it: a file that begins with DIR_SLOT_MARK and the directory's path
// ("\" for the root) and is as long as the directory's records. Pure.
#pragma once
#include <string>
#include <vector>

const char DIR_SLOT_MARK[] = "BRAKDIR\n";

// Copies every directory that has a slot into it and points the directory's
// records, its children's "..", the volume's root record and the Joliet path
// tables there; the old place is zeroed. Returns the number moved, or -1 with
// the reason in error (a slot too small, a slot for no directory).
int placeDirectories(std::vector<unsigned char>* image, std::string* error);
