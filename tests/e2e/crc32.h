// CRC-32 (the zip polynomial) for comparing copied files with their originals.
#pragma once
#include <cstddef>
#include <cstdint>

inline uint32_t crc32(const void* data, size_t size, uint32_t crc = 0)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    while (size--) {
        crc ^= *p++;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
