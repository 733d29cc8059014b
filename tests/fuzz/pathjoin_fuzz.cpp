// pathJoin: the exact concatenation, or an empty result and false; nothing is
// ever written at or past cap. The output is a heap block of exactly cap bytes.
#include <string>

#include "launcher/pathbuf.h"
#include "tests/fuzz/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const size_t cap = in.u32(2) % 512;       // 0 .. 511: around PATH_BUF and well past it
    const bool ownBuffer = (in.u32(1) & 1) != 0;  // a caller extending its own buffer
    size_t la = 0, lb = 0, lc = 0;
    const std::unique_ptr<char[]> a = in.str(&la);
    const std::unique_ptr<char[]> b = in.str(&lb);
    const std::unique_ptr<char[]> c = in.str(&lc);
    const std::string whole = std::string(a.get()) + b.get() + c.get();

    // new char[0] is a block of no bytes: a write into it is caught too.
    std::unique_ptr<char[]> out(new char[cap]);
    std::memset(out.get(), '#', cap);
    const char* first = a.get();
    if (ownBuffer) {
        if (la >= cap)
            return 0;  // a buffer cannot hold a part longer than itself
        std::memcpy(out.get(), a.get(), la + 1);
        first = out.get();
    }

    const bool ok = pathJoin(out.get(), cap, first, b.get(), c.get());
    FUZZ_CHECK(ok == (whole.size() < cap));
    if (ok) {
        FUZZ_CHECK(std::memcmp(out.get(), whole.c_str(), whole.size() + 1) == 0);
        // The bytes after the terminator are left as they were.
        for (size_t i = whole.size() + 1; i < cap; ++i)
            FUZZ_CHECK(out[i] == '#');
    } else if (cap > 0) {
        FUZZ_CHECK(out[0] == '\0');
    }
    return 0;
}
