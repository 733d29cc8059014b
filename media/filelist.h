// The checksum list the sample game checks its files against (FILES.TXT):
// one line per file, "<crc32, 8 hex digits> <size in bytes> <relative path>".
#pragma once
#include <cstddef>
#include <cstdint>

// CRC-32 (IEEE 802.3, reflected, as zip uses). Start with 0 and feed the file
// in pieces: crc = crc32Update(crc, piece, n).
uint32_t crc32Update(uint32_t crc, const void* data, size_t size);

enum { LIST_PATH_MAX = 64 };  // room for a path, terminator included

struct ListEntry {
    uint32_t crc;
    uint32_t size;
    char path[LIST_PATH_MAX];
};

// Writes one line with "\r\n" into out; returns its length, or 0 when it does
// not fit in cap or the path is empty, too long or holds a line break.
size_t formatListLine(char* out, size_t cap, const ListEntry& entry);

// Reads one line (without its line break; a trailing '\r' is allowed).
// Returns false for anything but exactly the format above: 8 hex digits, one
// blank, a decimal size that fits 32 bits, one blank, a path that fits and
// holds no line break (the writer could not give it back).
bool parseListLine(const char* line, size_t len, ListEntry* entry);

// Splits text into lines and parses each; blank lines are skipped. Returns the
// number of entries stored, or -1 at the first malformed line or when more
// than cap entries are present (badLine, if given, gets its 1-based number).
int parseList(const char* text, size_t len, ListEntry* entries, int cap, int* badLine);

// The entry for path, matched without regard to letter case as on the target
// system; null when it is not listed.
const ListEntry* findListEntry(const ListEntry* entries, int count, const char* path);
