// Directory extents moved into their slots, every pointer to them rewritten.
#include "media/dirplace.h"

#include <cstdint>
#include <cstring>
#include <map>

#include "media/isoread.h"

namespace {
const size_t kSector = 2048;

uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
}

uint32_t be32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | (p[1] << 16) | (p[2] << 8) | p[3];
}

void putLe32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

void putBe32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * (3 - i)));
}

// A directory record's extent, both byte orders, if it is in the map.
void moveRecord(unsigned char* rec, const std::map<uint32_t, uint32_t>& moved)
{
    const auto it = moved.find(le32(rec + 2));
    if (it == moved.end() || !(rec[25] & 0x02))
        return;
    putLe32(rec + 2, it->second);
    putBe32(rec + 6, it->second);
}

// Every record of a directory's extent (already checked by readIsoTree).
void moveRecords(unsigned char* dir, size_t length, const std::map<uint32_t, uint32_t>& moved)
{
    for (size_t pos = 0; pos < length;) {
        const size_t n = dir[pos];
        if (n == 0) {
            pos = (pos / kSector + 1) * kSector;
            continue;
        }
        moveRecord(dir + pos, moved);
        pos += n;
    }
}

// A path table's entries: name length, extended length, extent, parent, name.
void moveTable(unsigned char* table, size_t size, bool bigEndian,
               const std::map<uint32_t, uint32_t>& moved)
{
    for (size_t pos = 0; pos + 8 <= size;) {
        const size_t nameLen = table[pos];
        if (nameLen == 0)
            break;
        unsigned char* extent = table + pos + 2;
        const auto it = moved.find(bigEndian ? be32(extent) : le32(extent));
        if (it != moved.end())
            (bigEndian ? putBe32 : putLe32)(extent, it->second);
        pos += 8 + nameLen + (nameLen % 2);
    }
}
}  // namespace

int placeDirectories(std::vector<unsigned char>* image, std::string* error)
{
    std::vector<unsigned char>& im = *image;
    std::vector<MediaFile> files;
    MediaFile root;
    if (!readIsoTree(im.data(), im.size(), &files, error, &root))
        return -1;
    root.path = "\\";
    std::vector<MediaFile> dirs = {root};
    for (const MediaFile& f : files)
        if (f.directory)
            dirs.push_back(f);

    std::map<uint32_t, uint32_t> moved;  // old sector -> new sector
    const size_t mark = strlen(DIR_SLOT_MARK);
    for (size_t at = 0; at + kSector <= im.size(); at += kSector) {
        if (memcmp(&im[at], DIR_SLOT_MARK, mark) != 0)
            continue;
        const unsigned char* end =
            static_cast<const unsigned char*>(memchr(&im[at + mark], '\n', kSector - mark));
        const std::string path(reinterpret_cast<const char*>(&im[at + mark]),
                               end ? reinterpret_cast<const char*>(end)
                                   : reinterpret_cast<const char*>(&im[at + mark]));
        const MediaFile* dir = nullptr;
        for (const MediaFile& d : dirs)
            dir = d.path == path ? &d : dir;
        if (!end || !dir) {
            *error = "a directory slot for no directory: " + path;
            return -1;
        }
        // The slot's length is not recorded anywhere but in the marker's file:
        // it must not run into the next sector that holds anything.
        const size_t sectors = (dir->size + kSector - 1) / kSector;
        for (size_t s = 1; s < sectors; ++s)
            for (size_t i = 0; i < kSector; ++i)
                if (at + s * kSector + i >= im.size() || im[at + s * kSector + i]) {
                    *error = "the slot is smaller than its directory: " + path;
                    return -1;
                }
        memcpy(&im[at], &im[dir->offset], dir->size);
        memset(&im[at] + dir->size, 0, sectors * kSector - dir->size);
        memset(&im[dir->offset], 0, sectors * kSector);
        moved[static_cast<uint32_t>(dir->offset / kSector)] = static_cast<uint32_t>(at / kSector);
    }

    // Every pointer to a moved directory: records in every directory, the
    // Joliet volume's root record and its path tables.
    for (const MediaFile& d : dirs) {
        const auto it = moved.find(static_cast<uint32_t>(d.offset / kSector));
        const size_t where = it == moved.end() ? d.offset : it->second * kSector;
        moveRecords(&im[where], d.size, moved);
    }
    for (size_t i = 16; (i + 1) * kSector <= im.size(); ++i) {
        unsigned char* vd = &im[i * kSector];
        if (memcmp(vd + 1, "CD001", 5) != 0 || vd[0] == 255)
            break;
        if (vd[0] != 2 || vd[88] != '%' || vd[89] != '/')
            continue;
        moveRecord(vd + 156, moved);
        const uint32_t tableSize = le32(vd + 132);
        const size_t tables[] = {le32(vd + 140), le32(vd + 144), be32(vd + 148), be32(vd + 152)};
        for (int t = 0; t < 4; ++t)
            if (tables[t] && (tables[t] * kSector + tableSize) <= im.size())
                moveTable(&im[tables[t] * kSector], tableSize, t >= 2, moved);
    }
    return static_cast<int>(moved.size());
}
