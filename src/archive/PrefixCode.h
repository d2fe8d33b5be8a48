// Canonical prefix codes (Deflate's assignment, code bits most significant first in
// the LSB-first stream), decoded through a k-bit lookup table with binary trees
// for the bits of codes longer than k.
#pragma once

#include "archive/BitReader.h"

#include <cstdint>

class PrefixCode {
public:
    static constexpr int kMaxSymbols = 288;
    static constexpr int kMaxLength = 16;
    static constexpr int kMaxTableBits = 11;
    // Each code longer than k adds at most (16 - k) tree nodes: 288 * 10 fits.
    static constexpr int kMaxNodes = 4096;

    // Wide first-level tables: codes longer than the table are rare enough that
    // the bit-by-bit tree walk stays off the hot path.
    static constexpr int kLiteralBits = 11;  // literal/length and BWT codes
    static constexpr int kDistanceBits = 10;
    static constexpr int kPrecodeBits = 6;

    // Builds the code from `lengths` (0 = symbol absent). Returns false when the
    // lengths over-subscribe the code space; an incomplete code is fine, its
    // unreached entries decode as invalid. With `values`, decode gives values[s]
    // (below 2^27, kept alive by the caller) instead of the symbol s: what a hot
    // loop needs next comes out of the same table load.
    bool build(const std::uint8_t* lengths, int symbolCount, int tableBits,
               const std::uint32_t* values = nullptr);
    // Every entry invalid: an alphabet the block has no code for.
    void buildEmpty(int tableBits);

    // Decodes one symbol (or its value); -1 for an invalid code. The cursor must hold at least
    // 16 valid bits (BitReader::refill gives 56). kTableBits must be the code's
    // table size: a constant lets the hot loops skip reloading it after every store.
    template <int kTableBits>
    inline int decode(BitCursor& c) const {
        std::uint32_t entry = table_[BitReader::peek(c, kTableBits)];
        std::uint32_t length = entry >> kLengthShift;
        if (length != 0) {
            BitReader::drop(c, length);
            return static_cast<int>(entry & kValueMask);
        }
        // Longer codes: the tree walk gets the bits by value, so the cursor stays local.
        int found = decodeLong(c.bits, entry);
        if (found < 0) return -1;
        BitReader::drop(c, static_cast<unsigned>(found >> 16));
        return values_ ? static_cast<int>(values_[found & 0xFFFF]) : found & 0xFFFF;
    }

private:
    static constexpr int kLengthShift = 27;
    static constexpr std::uint32_t kValueMask = (1u << kLengthShift) - 1;
    static constexpr std::uint32_t kTreeFlag = 0x10000;
    static constexpr std::uint16_t kNoChild = 0xFFFF;
    static constexpr std::uint16_t kLeafFlag = 0x8000;

    // Symbol | code length << 16, or -1.
    int decodeLong(std::uint64_t bits, std::uint32_t entry) const;
    bool insertLong(std::uint32_t code, int length, int symbol);

    int tableBits_ = 0;
    int nodeCount_ = 0;
    const std::uint32_t* values_ = nullptr;
    std::uint32_t table_[1 << kMaxTableBits];  // value | length << 27, or node | kTreeFlag, or 0
    std::uint16_t nodes_[kMaxNodes][2];         // child: node index, symbol | kLeafFlag, or kNoChild
};
