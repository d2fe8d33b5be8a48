// The coded form of prefix-code lengths: a 21-symbol pre-code sent as 5-bit values,
// then every length as a pre-code symbol (changes modulo 17, zero runs, repeats,
// and changes against the same symbol of the previous group).
#pragma once

#include <cstdint>
#include <vector>

#include "imppack/BitWriter.h"

// Writes groupCount groups of groupSize lengths (each at most 16), stored one group
// after another in `lengths`.
void writeCodeLengths(BitWriter& out, const std::vector<std::uint8_t>& lengths, unsigned groupSize,
                      unsigned groupCount);
