// The coding of prefix-code lengths shared by LZ and BWT blocks: a 21-symbol
// pre-code, then lengths as deltas, zero runs and repeats, optionally against the
// lengths of the previous group.
#pragma once

#include "archive/BitReader.h"
#include "archive/PrefixCode.h"

#include <cstdint>

namespace code_lengths {
constexpr int kLiteralCount = 288;
constexpr int kDistance0Count = 42;
constexpr int kDistance1Count = 14;
constexpr int kDistance2Count = 28;
constexpr int kDistance0At = 288;
constexpr int kDistance1At = 330;
constexpr int kDistance2At = 344;
constexpr int kFixedGroupSize = 344;
}  // namespace code_lengths

// The one fixed group of an LZ block without its own tables; `fill` is history +
// block size, which decides the distance lengths.
void fixedCodeLengths(std::uint8_t* destination, std::uint32_t fill);

// Reads groupCount * alphabetSize lengths into destination (groupCount 0: the fixed
// group). `precode` is scratch for the pre-code. Returns 0 or -3.
int readCodeLengths(BitReader& reader, PrefixCode& precode, std::uint8_t* destination,
                    int alphabetSize, int groupCount, std::uint32_t fill);
