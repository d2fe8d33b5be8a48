// The BWT block encoder: suffix-sorted transform with an end position,
// move-to-front, zero runs in bijective base 2, and up to six Huffman tables
// chosen per 50 symbols by iterative refinement from several starting points.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imppack/BitWriter.h"

// Writes the BWT body of data[0, size) (size below 2^20): offset byte, tables,
// then the table choices and symbols.
void encodeBwtBody(BitWriter& out, const std::uint8_t* data, std::size_t size);

// Bytes of data[0, available) for the next BWT block: min(available, maxSize), or
// fewer where the kind of content changes within them, so the block ends there.
std::size_t bwtBlockSize(const std::uint8_t* data, std::size_t available, std::size_t maxSize);

// Huffman tables for a body's coded symbols (0 to 257) and the table that codes each
// group of 50 symbols: one to six tables, each chosen by some group, each coding
// every symbol of the groups that chose it.
struct BwtTables {
    std::vector<std::vector<std::uint8_t>> lengths;  // per table, 258 code lengths
    std::vector<std::uint8_t> choices;               // per group of 50 symbols
};

BwtTables chooseBwtTables(const std::vector<std::uint16_t>& symbols);

// Bits that the tables' code lengths, the table choices and the symbols take in a body.
std::uint64_t bwtCodedBits(const BwtTables& tables, const std::vector<std::uint16_t>& symbols);
