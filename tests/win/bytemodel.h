// The bar's values a copy of one byte per step gives, for the Wine tests to
// hold the launcher's block copy against.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct ModelUpdate {
    int percent;      // what the bar shows
    uint64_t copied;  // bytes of this install copied when it moved
};

// One install of files of these sizes, counted byte by byte in 64-bit
// integers. numbytes (bytes since the bar last moved) comes in from the
// install before and goes out to the next one.
std::vector<ModelUpdate> byteModel(const std::vector<size_t>& sizes, int& numbytes);
std::vector<int> percentsOf(const std::vector<ModelUpdate>& updates);
