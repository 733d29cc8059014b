// The byte-at-a-time model: every 12,001st byte counted moves the bar to the
// whole percent of 11,500,000 bytes copied so far, never past 100.
#include "tests/win/bytemodel.h"

std::vector<ModelUpdate> byteModel(const std::vector<size_t>& sizes, int& numbytes)
{
    std::vector<ModelUpdate> out;
    uint64_t copied = 0;
    uint64_t sinceUpdate = static_cast<uint64_t>(numbytes);
    for (size_t size : sizes)
        for (size_t b = 0; b < size; ++b) {
            ++copied;
            if (++sinceUpdate == 12001) {
                out.push_back({copied >= 11500000 ? 100 : static_cast<int>(copied / 115000),
                               copied});
                sinceUpdate = 0;
            }
        }
    numbytes = static_cast<int>(sinceUpdate);
    return out;
}

std::vector<int> percentsOf(const std::vector<ModelUpdate>& updates)
{
    std::vector<int> out;
    for (const ModelUpdate& u : updates)
        out.push_back(u.percent);
    return out;
}
