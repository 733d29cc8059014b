// Lays out a sample media folder: the game's 72 files, its checksum list and
// the programs that run from the media. Host code (std::filesystem).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "launcher/manifest.h"
#include "media/mediacheck.h"

// What the 72 files add up to, FILES.TXT included: the total the launcher's
// progress bar assumes, so that the media check finds nothing to warn about.
const uint64_t MEDIA_TARGET_BYTES = 11500000;

// The size of every install entry for a game program of gameSize bytes, the
// entry of FILES.TXT the length its lines will have.
std::vector<uint32_t> planSizes(uint32_t gameSize);

// The deterministic contents of install entry `index`, `size` bytes long.
std::vector<unsigned char> sampleContents(int index, uint32_t size);

// Writes the media into folder: every install entry (the game program copied
// from gamePath), FILES.TXT, autorun.inf, then each of programs under its own
// file name.
// Returns the bytes of the 72 files, or -1 with a message in error.
int64_t makeMedia(const std::string& folder, const std::string& gamePath,
                  const std::vector<std::string>& programs, std::string* error);

// What autorun.inf says: start the launcher from the root, with its icon.
extern const char AUTORUN_INF[];

// Lists a media folder, or the Joliet tree of an ISO image file.
bool listMedia(const std::string& path, std::vector<MediaFile>* files, std::string* error);
