// countCopied over blocks of any size, from any reachable numbytes and any
// total already copied: exactly the updates (byte counts and percents) of a
// copy that counts one byte at a time, and the same counters at the end.
#include <vector>

#include "launcher/progress.h"
#include "tests/common/bytemodel.h"
#include "tests/fuzz/fuzzinput.h"

namespace {
// The launcher's counters (its total is a double).
struct Counters {
    double total_copied;
    int numbytes;
    int percent;
};

// The launcher's walk over one block it has read.
void countBlock(Counters& c, size_t len, std::vector<ModelUpdate>& out)
{
    while (len > 0) {
        bool due = false;
        const size_t k = countCopied(c.total_copied, c.numbytes, c.percent, len, due);
        FUZZ_CHECK(k > 0 && k <= len);
        len -= k;
        if (due)
            out.push_back({c.percent, static_cast<uint64_t>(c.total_copied)});
    }
}

// Bounds the byte model's work per input: two updates' worth and a little more.
const size_t kMaxBytes = 2 * (INSTALL_UPDATE_AFTER + 1) + 100;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    ModelState model;
    model.numbytes = static_cast<int>(in.u32(2) % (INSTALL_UPDATE_AFTER + 1));
    // Up to 2^34 bytes already counted: past every percent boundary and 100.
    model.copied = uint64_t{in.u32()} << (in.u32(1) % 3);
    model.percent = static_cast<int>(in.u32(1));
    Counters ours{static_cast<double>(model.copied), model.numbytes, model.percent};

    std::vector<ModelUpdate> expected, got;
    size_t budget = kMaxBytes;
    while (in.size > 0 && budget > 0) {
        size_t len = in.u32(2) + 1;  // 1 .. 65536: the launcher's block and less
        if (len > budget)
            len = budget;
        budget -= len;
        countBytes(model, len, expected);
        countBlock(ours, len, got);
    }

    FUZZ_CHECK(got == expected);
    FUZZ_CHECK(ours.total_copied == static_cast<double>(model.copied));
    FUZZ_CHECK(ours.numbytes == model.numbytes);
    FUZZ_CHECK(ours.percent == model.percent);
    return 0;
}
