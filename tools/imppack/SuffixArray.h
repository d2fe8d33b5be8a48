// Suffix sorting by induced sorting (SA-IS): linear time, for the BWT encoder.
#pragma once

#include <cstdint>
#include <vector>

// The suffix array of data[0, n) with an end marker that sorts below every byte:
// n + 1 entries, the first being n (the empty suffix).
std::vector<std::int32_t> suffixArray(const std::uint8_t* data, std::size_t n);
