// The byte-at-a-time model: every 12,001st byte counted moves the bar to the
// whole percent of 11,500,000 bytes copied so far, never past 100.
#include "tests/common/bytemodel.h"

void countBytes(ModelState& m, uint64_t bytes, std::vector<ModelUpdate>& out)
{
    for (uint64_t b = 0; b < bytes; ++b) {
        ++m.copied;
        if (++m.numbytes == 12001) {
            m.percent = m.copied >= 11500000 ? 100 : static_cast<int>(m.copied / 115000);
            out.push_back({m.percent, m.copied});
            m.numbytes = 0;
        }
    }
}

std::vector<ModelUpdate> byteModel(const std::vector<size_t>& sizes, int& numbytes)
{
    std::vector<ModelUpdate> out;
    ModelState m;
    m.numbytes = numbytes;
    for (size_t size : sizes)
        countBytes(m, size, out);
    numbytes = m.numbytes;
    return out;
}

std::vector<int> percentsOf(const std::vector<ModelUpdate>& updates)
{
    std::vector<int> out;
    for (const ModelUpdate& u : updates)
        out.push_back(u.percent);
    return out;
}
