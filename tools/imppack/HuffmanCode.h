// Length-limited Huffman code lengths and their canonical codes, as the archive's
// decoder builds them (Deflate's assignment: shorter codes first, then by symbol).
#pragma once

#include <cstdint>
#include <vector>

// Code lengths (0 = absent) for the given symbol frequencies, none longer than
// maxLength. The code is always complete: when fewer than two symbols occur, the
// lowest unused symbols are given a code too, so a decoder never meets a lone code.
std::vector<std::uint8_t> buildCodeLengths(const std::vector<std::uint32_t>& freqs, unsigned maxLength);

// Canonical codes for the lengths; codes[s] holds the code's bits, most significant first.
std::vector<std::uint32_t> canonicalCodes(const std::vector<std::uint8_t>& lengths);

// Bits spent coding the frequencies with the lengths.
std::uint64_t codedBits(const std::vector<std::uint32_t>& freqs, const std::vector<std::uint8_t>& lengths);
