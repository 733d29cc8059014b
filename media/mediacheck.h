// The media check: whether a media folder or image gives the launcher what a
// play cycle needs. Pure: a listing in, report lines out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A file or directory on the media, named relative to its root with
// backslashes, as the launcher names it.
struct MediaFile {
    std::string path;
    uint64_t size;
    bool directory;
    uint64_t offset = 0;  // where its data begins in an image; 0 in a folder
};

struct MediaCheck {
    std::vector<std::string> errors;    // each one breaks the player's cycle
    std::vector<std::string> warnings;  // the cycle runs, but not as intended
    uint64_t installBytes;              // what the install finds to copy
    int jumps;      // reads an install starts elsewhere than the last one ended, its
                    // directories' first look-ups counted; -1 in a folder
    int backwards;  // of those, the ones to an earlier place
    int startJumps;      // the same of a start: autorun.inf, the launcher, the menu and
    int startBackwards;  // the relay, whole, on to the install's first read
};

// Against the launcher's install manifest and the programs it and the menu
// start from the root. Names compare without regard to letter case.
MediaCheck checkMedia(const std::vector<MediaFile>& files);

// Why one name (a path component) cannot go on a disc with Joliet names as it
// stands, or null when it can.
const char* badDiscName(const std::string& name);
