// The relay's command line: commandTail then atolWrap against a reference
// written the plain way (indexes, a 64-bit accumulator, the wrap at the end).
#include "relay/relayargs.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
bool blank(char c) { return c == ' ' || c == '\t'; }

size_t modelTail(const char* s)
{
    size_t i = 0;
    while (blank(s[i]))
        i++;
    if (s[i] == '"') {
        i++;
        while (s[i] != '\0' && s[i] != '"')
            i++;
        if (s[i] == '"')
            i++;
    } else {
        while (s[i] != '\0' && !blank(s[i]))
            i++;
    }
    while (blank(s[i]))
        i++;
    return i;
}

int64_t modelAtol(const char* s)
{
    size_t i = 0;
    while (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\v' || s[i] == '\f' ||
           s[i] == '\r')
        i++;
    bool minus = false;
    if (s[i] == '+' || s[i] == '-') {
        minus = s[i] == '-';
        i++;
    }
    uint64_t v = 0;  // wraps modulo 2^64, a multiple of 2^32: the low half stays exact
    while (s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + static_cast<uint64_t>(s[i] - '0');
        i++;
    }
    if (minus)
        v = 0 - v;
    const int64_t low = static_cast<int64_t>(v & 0xFFFFFFFFu);
    return low >= 0x80000000LL ? low - 0x100000000LL : low;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    size_t length = 0;
    const std::unique_ptr<char[]> cmdline = in.str(&length);

    const char* tail = commandTail(cmdline.get());
    FUZZ_CHECK(tail >= cmdline.get() && tail <= cmdline.get() + length);
    FUZZ_CHECK(static_cast<size_t>(tail - cmdline.get()) == modelTail(cmdline.get()));
    FUZZ_CHECK(atolWrap(tail) == modelAtol(tail));
    // The number alone, as another runtime might hand it over.
    FUZZ_CHECK(atolWrap(cmdline.get()) == modelAtol(cmdline.get()));
    return 0;
}
