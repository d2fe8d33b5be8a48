// The LZ block encoder: hash-chain match finding over the reader's window, lazy
// parsing with the two repeat distances, and Huffman table groups that switch
// where the statistics change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imppack/BitWriter.h"

struct LzParams {
    unsigned chainDepth = 48;   // candidates looked at per position
    unsigned niceLength = 192;  // a match this long is taken at once
};

class LzEncoder {
public:
    LzEncoder(const std::uint8_t* data, std::size_t size, LzParams params = {});

    // Writes data[start, start + length) as one LZ body (distance alphabets, table
    // groups, symbols). The reader's window then holds the `history` bytes before
    // start, which matches may use. Blocks must be encoded in increasing order.
    void encodeBlock(BitWriter& out, std::size_t start, std::size_t length, std::size_t history);

    // One coded item: a literal or a match, with its extra bits.
    struct Symbol {
        std::uint16_t litLen;      // literal/length symbol
        std::uint8_t lengthBits;   // extra bits after it
        std::uint8_t distAlphabet; // 0..2, or 0xFF for a literal
        std::uint8_t distSymbol;
        std::uint8_t distBits;
        std::uint32_t lengthExtra;
        std::uint32_t distExtra;
    };

private:
    struct Match {
        std::uint32_t length = 0;
        std::uint32_t distance = 0;
        int cost = 0;  // estimated bits saved against literals
    };

    void insertUpTo(std::size_t position);
    Match bestMatch(std::size_t position, std::size_t end, std::size_t minPosition);
    std::uint32_t matchLength(std::size_t position, std::size_t candidate, std::size_t limit) const;
    void parse(std::size_t start, std::size_t length, std::size_t history, std::vector<Symbol>& symbols);

    const std::uint8_t* data_;
    std::size_t size_;
    LzParams params_;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> chain_;  // ring indexed by position
    std::size_t inserted_ = 0;         // positions below this are in the chains
    std::uint32_t rep0_ = 0, rep1_ = 0;
};
