// The BWT block encoder: suffix-sorted transform with an end position,
// move-to-front, zero runs in bijective base 2, and up to six Huffman tables
// chosen per 50 symbols by iterative refinement.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imppack/BitWriter.h"

// Writes the BWT body of data[0, size) (size below 2^20): offset byte, tables,
// then the table choices and symbols.
void encodeBwtBody(BitWriter& out, const std::uint8_t* data, std::size_t size);
