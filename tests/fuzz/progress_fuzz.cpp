// countCopied over blocks of any size, from any reachable numbytes and any
// total already copied: exactly the updates (byte counts and percents) of a
// copy that counts one byte at a time, and the same counters at the end.
#include <vector>

#include "launcher/progress.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
struct Counters {
    double total_copied;
    int numbytes;
    int percent;
};

struct Update {
    double at;
    int shown;
};

// One byte per step, as written out plainly.
void byteModel(Counters& c, size_t bytes, std::vector<Update>& out)
{
    for (size_t i = 0; i < bytes; ++i) {
        c.total_copied = c.total_copied + 1;
        c.numbytes = c.numbytes + 1;
        if (c.numbytes > 12000) {
            c.percent = static_cast<int>(c.total_copied * (1.0 / 11500000) * 100);
            if (c.percent > 100)
                c.percent = 100;
            out.push_back({c.total_copied, c.percent});
            c.numbytes = 0;
        }
    }
}

// The launcher's walk over one block it has read.
void countBlock(Counters& c, size_t len, std::vector<Update>& out)
{
    while (len > 0) {
        bool due = false;
        const size_t k = countCopied(c.total_copied, c.numbytes, c.percent, len, due);
        FUZZ_CHECK(k > 0 && k <= len);
        len -= k;
        if (due)
            out.push_back({c.total_copied, c.percent});
    }
}

// Bounds the byte model's work per input: two updates' worth and a little more.
const size_t kMaxBytes = 2 * (INSTALL_UPDATE_AFTER + 1) + 100;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    Counters model;
    model.numbytes = static_cast<int>(in.u32(2) % (INSTALL_UPDATE_AFTER + 1));
    // Up to 2^34 bytes already counted: past every percent boundary and 100.
    model.total_copied = static_cast<double>(uint64_t{in.u32()} << (in.u32(1) % 3));
    model.percent = static_cast<int>(in.u32(1));
    Counters ours = model;

    std::vector<Update> expected, got;
    size_t budget = kMaxBytes;
    while (in.size > 0 && budget > 0) {
        size_t len = in.u32(2) + 1;  // 1 .. 65536: the launcher's block and less
        if (len > budget)
            len = budget;
        budget -= len;
        byteModel(model, len, expected);
        countBlock(ours, len, got);
    }

    FUZZ_CHECK(got.size() == expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        FUZZ_CHECK(got[i].at == expected[i].at && got[i].shown == expected[i].shown);
    FUZZ_CHECK(ours.total_copied == model.total_copied);
    FUZZ_CHECK(ours.numbytes == model.numbytes);
    FUZZ_CHECK(ours.percent == model.percent);
    return 0;
}
