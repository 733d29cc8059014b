// The order an image's files are laid out in: the order a start reads them,
// from a record of a real one (brakdrive --record) or built in. Pure.
#pragma once
#include <string>
#include <vector>

#include "media/mediacheck.h"

// What a start did on the drive, in order: a read of a file's bytes, a read
// of a directory's records, or a lookup of a name (found or not).
struct RecordedStep {
    enum Kind { Read, Directory, Lookup } kind;
    std::string path;  // as the media names it: "DEMODATA\BK01.BK2", "" the root
};

// The lines brakdrive --record writes; false with the line at fault in error.
bool parseReadRecord(const std::string& text, std::vector<RecordedStep>* steps,
                     std::string* error);

// The built-in start: autorun.inf, the launcher (the shell reads its icon),
// the menu, the relay, the install in its read order, the follow-up.
std::vector<RecordedStep> builtInStart();

// The layout of files (a media's listing) for a start: every file in the
// order of its first read, each directory just before the first file read
// from it (one no file is read from, where the start first read its records);
// its parents before it. Paths under the root in the
// listing's spelling with "/" between names; a directory ends in "/", the
// root is "/". What is never read is left out: the image puts it after, by name.
std::vector<std::string> startLayout(const std::vector<RecordedStep>& start,
                                     const std::vector<MediaFile>& files);
