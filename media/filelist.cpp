// The checksum list of the sample media: CRC-32 and the line format.
#include "media/filelist.h"

#include <cstring>

namespace {
uint32_t crcTable[256];
bool crcTableReady;

void makeCrcTable()
{
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        crcTable[n] = c;
    }
    crcTableReady = true;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

uint32_t crc32Update(uint32_t crc, const void* data, size_t size)
{
    if (!crcTableReady)
        makeCrcTable();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = crcTable[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

size_t formatListLine(char* out, size_t cap, const ListEntry& entry)
{
    static const char digits[] = "0123456789abcdef";
    const void* end = memchr(entry.path, '\0', LIST_PATH_MAX);
    if (!end)
        return 0;
    const size_t pathLen = static_cast<size_t>(static_cast<const char*>(end) - entry.path);
    if (pathLen == 0 || strpbrk(entry.path, "\r\n"))
        return 0;

    char line[8 + 1 + 10 + 1 + LIST_PATH_MAX + 2];
    size_t n = 0;
    for (int shift = 28; shift >= 0; shift -= 4)
        line[n++] = digits[(entry.crc >> shift) & 0xF];
    line[n++] = ' ';
    char size[10];
    int sizeLen = 0;
    uint32_t v = entry.size;
    do {
        size[sizeLen++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (sizeLen)
        line[n++] = size[--sizeLen];
    line[n++] = ' ';
    memcpy(line + n, entry.path, pathLen);
    n += pathLen;
    line[n++] = '\r';
    line[n++] = '\n';
    if (n > cap)
        return 0;
    memcpy(out, line, n);
    return n;
}

bool parseListLine(const char* line, size_t len, ListEntry* entry)
{
    if (len && line[len - 1] == '\r')
        --len;
    size_t i = 0;

    uint32_t crc = 0;
    for (; i < 8; ++i) {
        const int h = i < len ? hexValue(line[i]) : -1;
        if (h < 0)
            return false;
        crc = (crc << 4) | static_cast<uint32_t>(h);
    }
    if (i >= len || line[i++] != ' ')
        return false;

    uint64_t size = 0;
    const size_t sizeStart = i;
    for (; i < len && line[i] >= '0' && line[i] <= '9'; ++i) {
        size = size * 10 + static_cast<uint64_t>(line[i] - '0');
        if (size > 0xFFFFFFFFu)
            return false;
    }
    if (i == sizeStart || i >= len || line[i++] != ' ')
        return false;

    const size_t pathLen = len - i;
    if (pathLen == 0 || pathLen >= LIST_PATH_MAX || memchr(line + i, '\0', pathLen))
        return false;
    // A line break inside the path could not be written back: the writer refuses it too.
    if (memchr(line + i, '\r', pathLen) || memchr(line + i, '\n', pathLen))
        return false;
    entry->crc = crc;
    entry->size = static_cast<uint32_t>(size);
    memcpy(entry->path, line + i, pathLen);
    entry->path[pathLen] = '\0';
    return true;
}

int parseList(const char* text, size_t len, ListEntry* entries, int cap, int* badLine)
{
    int count = 0;
    int lineNo = 0;
    size_t pos = 0;
    while (pos < len) {
        const char* nl = static_cast<const char*>(memchr(text + pos, '\n', len - pos));
        const size_t end = nl ? static_cast<size_t>(nl - text) : len;
        ++lineNo;
        const size_t lineLen = end - pos;
        const bool blank = lineLen == 0 || (lineLen == 1 && text[pos] == '\r');
        if (!blank) {
            if (count == cap || !parseListLine(text + pos, lineLen, &entries[count])) {
                if (badLine)
                    *badLine = lineNo;
                return -1;
            }
            ++count;
        }
        pos = end + 1;
    }
    return count;
}

const ListEntry* findListEntry(const ListEntry* entries, int count, const char* path)
{
    for (int i = 0; i < count; ++i) {
        const char* a = entries[i].path;
        const char* b = path;
        while (*a && lower(*a) == lower(*b)) {
            ++a;
            ++b;
        }
        if (*a == '\0' && *b == '\0')
            return &entries[i];
    }
    return nullptr;
}
