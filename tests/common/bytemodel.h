// The bar's values a copy of one byte per step gives, for the tests to hold
// the launcher's block counting against. Integer arithmetic throughout: the
// launcher's own is a double.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct ModelUpdate {
    int percent;      // what the bar shows
    uint64_t copied;  // bytes of this install copied when it moved
    bool operator==(const ModelUpdate& o) const
    {
        return percent == o.percent && copied == o.copied;
    }
};

// The counters of one install: bytes copied, bytes since the bar last moved
// (carried from one install to the next), the percent last shown.
struct ModelState {
    uint64_t copied = 0;
    int numbytes = 0;
    int percent = 0;
};

// Counts that many more bytes one at a time; appends every move of the bar.
void countBytes(ModelState& m, uint64_t bytes, std::vector<ModelUpdate>& out);
// One install of files of these sizes. numbytes comes in from the install
// before and goes out to the next one.
std::vector<ModelUpdate> byteModel(const std::vector<size_t>& sizes, int& numbytes);
std::vector<int> percentsOf(const std::vector<ModelUpdate>& updates);
