// The inverse Burrows-Wheeler transform of one BWT block, over one packed vector:
// each entry holds the byte of its position in the top 8 bits and the position of
// its successor in sorted order in the low bits.
#pragma once

#include <cstdint>

// Rewrites block[0 .. size-1] with the original bytes, each plus `offset` (mod 256).
// `block` holds size + 1 transformed positions, `endPosition` is the one without a
// byte (its own entry in counts is not included), `vector` has room for size + 1
// entries. Any input gives the same bytes as the plain backward walk from entry 0,
// also when the positions do not form one cycle (a damaged block).
void inverseBwt(std::uint8_t* block, std::uint32_t size, std::uint32_t endPosition,
                const std::uint32_t* counts, std::uint32_t* vector, std::uint8_t offset);

// The plain walk: one dependent load per output byte.
void inverseBwtWalk(std::uint8_t* block, std::uint32_t size, const std::uint32_t* vector,
                    std::uint8_t offset);
