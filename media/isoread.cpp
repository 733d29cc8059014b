// ISO 9660 volume descriptors and directory records, Joliet names only.
#include "media/isoread.h"

#include <cstdint>
#include <cstring>

namespace {
const size_t kSector = 2048;
const size_t kFirstDescriptor = 16;
const size_t kMaxDescriptors = 64;
const size_t kRootRecord = 156;  // in a volume descriptor
const size_t kRecordHead = 33;   // a directory record up to its name
// A hostile image can make directories point at their ancestors: the walk
// stops at a depth and a record count no real disc reaches.
const int kMaxDepth = 32;
const size_t kMaxRecords = 200000;

uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
}

struct Walk {
    const unsigned char* image;
    size_t size;
    std::vector<MediaFile>* files;
    size_t records;
    std::string error;
};

bool fail(Walk& w, const std::string& why)
{
    w.error = why;
    return false;
}

bool inImage(const Walk& w, uint32_t sector, uint32_t length)
{
    const uint64_t start = static_cast<uint64_t>(sector) * kSector;
    return start <= w.size && length <= w.size - start;
}

// UCS-2 big-endian to UTF-8, without the ";1" version Windows does not show.
bool jolietName(const unsigned char* p, size_t len, std::string* out)
{
    if (len == 0 || len % 2)
        return false;
    out->clear();
    for (size_t i = 0; i < len; i += 2) {
        const unsigned c = (p[i] << 8) | p[i + 1];
        if (c == 0 || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (c < 0x80) {
            *out += static_cast<char>(c);
        } else if (c < 0x800) {
            *out += static_cast<char>(0xC0 | (c >> 6));
            *out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *out += static_cast<char>(0xE0 | (c >> 12));
            *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    const size_t semi = out->rfind(';');
    if (semi != std::string::npos && semi + 1 < out->size() &&
        out->find_first_not_of("0123456789", semi + 1) == std::string::npos)
        out->erase(semi);
    return !out->empty();
}

bool readDirectory(Walk& w, uint32_t sector, uint32_t length, const std::string& prefix,
                   int depth)
{
    if (!inImage(w, sector, length))
        return fail(w, "a directory lies outside the image: " + (prefix.empty() ? "\\" : prefix));
    const unsigned char* dir = w.image + static_cast<size_t>(sector) * kSector;
    size_t pos = 0;
    while (pos < length) {
        const unsigned char* rec = dir + pos;
        const size_t n = rec[0];
        if (n == 0) {  // records never cross a sector: the rest of this one is padding
            pos = (pos / kSector + 1) * kSector;
            continue;
        }
        const size_t nameLen = n > kRecordHead - 1 ? rec[32] : 0;
        if (n < kRecordHead + 1 || pos % kSector + n > kSector || pos + n > length ||
            kRecordHead + nameLen > n)
            return fail(w, "a malformed directory record in " + (prefix.empty() ? "\\" : prefix));
        if (++w.records > kMaxRecords)
            return fail(w, "more directory records than any disc holds");
        pos += n;
        if (nameLen == 1 && (rec[33] == 0 || rec[33] == 1))
            continue;  // the directory itself and its parent

        std::string name;
        if (!jolietName(rec + kRecordHead, nameLen, &name))
            return fail(w, "a name that is not UCS-2 in " + (prefix.empty() ? "\\" : prefix));
        const std::string path = prefix.empty() ? name : prefix + "\\" + name;
        const uint32_t extent = le32(rec + 2);
        const uint32_t dataLength = le32(rec + 10);
        const unsigned flags = rec[25];
        if (flags & 0x80)
            return fail(w, "a file in several extents (over 4 GiB): " + path);
        if (flags & 0x02) {
            if (depth == kMaxDepth)
                return fail(w, "directories nested deeper than any disc holds: " + path);
            w.files->push_back({path, dataLength, true, static_cast<uint64_t>(extent) * kSector});
            if (!readDirectory(w, extent, dataLength, path, depth + 1))
                return false;
        } else {
            if (!inImage(w, extent, dataLength))
                return fail(w, "a file lies outside the image: " + path);
            w.files->push_back({path, dataLength, false, static_cast<uint64_t>(extent) * kSector});
        }
    }
    return true;
}
}  // namespace

bool readIsoTree(const unsigned char* image, size_t size, std::vector<MediaFile>* files,
                 std::string* error, MediaFile* root)
{
    files->clear();
    Walk w = {image, size, files, 0, ""};
    bool volume = false;
    for (size_t i = 0; i < kMaxDescriptors; ++i) {
        const size_t at = (kFirstDescriptor + i) * kSector;
        if (at > size || size - at < kSector)
            break;
        const unsigned char* vd = image + at;
        if (memcmp(vd + 1, "CD001", 5) != 0) {
            *error = "not an ISO 9660 image";
            return false;
        }
        volume = true;
        if (vd[0] == 255)
            break;
        const bool joliet = vd[0] == 2 && vd[88] == '%' && vd[89] == '/' &&
                            (vd[90] == '@' || vd[90] == 'C' || vd[90] == 'E');
        if (!joliet)
            continue;
        if ((vd[128] | (vd[129] << 8)) != kSector) {
            *error = "a block size other than 2048 bytes";
            return false;
        }
        const unsigned char* record = vd + kRootRecord;
        if (!(record[25] & 0x02) ||
            !readDirectory(w, le32(record + 2), le32(record + 10), "", 0)) {
            *error = w.error.empty() ? "the Joliet root is no directory" : w.error;
            return false;
        }
        if (root)
            *root = {"", le32(record + 10), true, static_cast<uint64_t>(le32(record + 2)) * kSector};
        return true;
    }
    *error = volume ? "no Joliet names: Windows would see only upper-case 8.3 names"
                    : "not an ISO 9660 image";
    return false;
}
