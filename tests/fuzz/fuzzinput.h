// What every fuzz target shares: reading fixed fields off the front of an
// input, heap copies that end exactly where the data ends (so AddressSanitizer
// sees a byte past them), and a property check that stops the run.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

// A failed property is a finding: libFuzzer saves the input that gave it.
#define FUZZ_CHECK(cond)                                                               \
    do {                                                                               \
        if (!(cond)) {                                                                 \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, \
                         #cond);                                                       \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

struct FuzzInput {
    const uint8_t* data;
    size_t size;

    // Little-endian; missing bytes read as 0, so every input is valid.
    uint32_t u32(int bytes = 4)
    {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            if (size > 0) {
                v |= uint32_t{*data} << (8 * i);
                ++data;
                --size;
            }
        }
        return v;
    }

    // Up to the next NUL (consumed) or the end: never holds a NUL itself.
    std::unique_ptr<char[]> str(size_t* length = nullptr)
    {
        const void* nul = size ? std::memchr(data, 0, size) : nullptr;
        const size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
        std::unique_ptr<char[]> s(new char[n + 1]);
        if (n)
            std::memcpy(s.get(), data, n);
        s[n] = '\0';
        data += n;
        size -= n;
        if (size > 0) {
            ++data;
            --size;
        }
        if (length)
            *length = n;
        return s;
    }
};
