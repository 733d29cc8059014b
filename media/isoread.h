// Reads the file tree of an ISO 9660 image through its Joliet names, the
// names Windows shows. Pure: the image's bytes in, a listing out.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "media/mediacheck.h"

// Fills files with every file and directory below the Joliet root, parents
// before their contents. False, with the reason in error, for an image that is
// not ISO 9660 with Joliet names or whose directories point outside it. A
// directory's size and offset are those of its records; root, if given, gets
// the root directory's.
bool readIsoTree(const unsigned char* image, size_t size, std::vector<MediaFile>* files,
                 std::string* error, MediaFile* root = nullptr);
